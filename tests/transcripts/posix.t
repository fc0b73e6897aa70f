  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"

A FIFO is not opened; no link is followed.

  $ wal ../outside.wal OUTSIDE; wal sub/x.wal; mkfifo fifo.wal; echo record >fifo.wal & until_waiting $!
  $ ln -s ../outside.wal link.wal; ln -s . loop.wal
  $ bentro /s "*.wal"
  ./fifo.wal
  Could not open file './fifo.wal' for reading.
  ./link.wal
  Could not open file './link.wal' for reading.
  ./loop.wal
  Could not open file './loop.wal' for reading.
  ./sub/x.wal
  [2]
  $ timeout 10 cat fifo.wal; field ../outside.wal; rm -r ./*
  record
  OUTSIDE-------------------------

Control characters print as \xNN: C0, DEL, C1 (here CSI, U+009B) and bytes
0x80-0x9F outside UTF-8; other bytes above 127 as they are, last.

  $ wal "$(printf 'a\nCould not list directory \047.\047\n.wal')"
  $ wal "$(printf 'b\033]0;title\007\177.wal')"; wal "$(printf 'c\302\2332J\302\240\303\251\237.wal')"
  $ bentro "*.wal"
  ./a\x0aCould not list directory '.'\x0a.wal
  ./b\x1b]0;title\x07\x7f.wal
  ./c\\xc2\\x9b2J\xc2\xa0\xc3\xa9\\x9f.wal (esc)
  $ field b*; rm ./*.wal
  b\x1b]0;title\x07\x7f-------------------- (esc)

Reading a file leaves its access time as it was, in a check as in a repair.

  $ wal a.wal; wal b.wal b; touch -a -d @978307200 a.wal b.wal
  $ bentro /l "*.wal"
  ./a.wal
  Name field would change from 'OLD' to 'a'
  ./b.wal
  [3]
  $ for i in $(seq 300); do wal f$i.wal; done; touch -a -d @978307200 ./*.wal
  $ bentro /q "*.wal"
  $ stat -c %X ./*.wal | uniq -c; rm ./*.wal
      302 978307200

A backslash is part of a name here, in a pattern as in a name given with
/f; in the field it is a separator, as always.

  $ wal 'back\slash.wal'
  $ bentro 'back\slash.wal'
  ./back\slash.wal
  $ bentro /f 'back\slash.wal'
  ./back\slash.wal
  $ field 'back\slash.wal'; rm ./*.wal
  back/slash----------------------

argv[0] is no argument; /proc is not entered.

  $ mkdir -p local/bin && ln -s "$BENTRO_BINARY" local/bin/bentro
  $ "$PWD/local/bin/bentro" --version
  bentro 1.0
  $ (cd /proc/self && bentro /s /l "*.*")
  Directory '.' is on a kernel file system; not entered
  No file matches '*.*'
  [2]

Output that cannot be written (a write that fails, or stores half the
field: memory.t).

  $ rm -r ./*; wal a.wal
  $ bentro a.wal >/dev/full
  Could not write to standard output
  [2]
  $ wal b.wal; for i in $(seq 100); do printf short >short-$i.wal; done
  $ bentro "*.wal" >&-
  Could not write to standard output
  [2]
  $ field b.wal; cat short-* | wc -c; rm ./*.wal
  b-------------------------------
  500

Descriptor limits (not under valgrind, which keeps some): the descent stops
where it would one file at a time, files in flight or not; 300 levels deep.

  $ for d in $(seq -w 40); do wal $d.wal/in.wal; done
  $ (ulimit -n 16; BENTRO_RUNNER= bentro /s "*.wal") >../out
  [2]
  $ tr -d 0-9 <../out | sort | uniq -c
       40 ./.wal
       40 ./.wal/in.wal
       40 Could not open file './.wal' for reading.
  $ rm -r ./*; for d in d d/d d/d/d d/d/d/d d/d/d/d/d d/d/d/d/d/d d/d/d/d/d/d/d d/d/d/d/d/d/d/d; do wal $d/x.wal; done
  $ (ulimit -n 12; BENTRO_RUNNER= bentro /s "*.wal")
  ./d/x.wal
  ./d/d/x.wal
  ./d/d/d/x.wal
  ./d/d/d/d/x.wal
  ./d/d/d/d/d/x.wal
  ./d/d/d/d/d/d/x.wal
  ./d/d/d/d/d/d/d/x.wal
  ./d/d/d/d/d/d/d/d/x.wal
  Could not open file './d/d/d/d/d/d/d/d/x.wal' for reading.
  [2]
  $ rm -r ./*; mkdir -p $(printf 'd%03d/' $(seq 300)); (for i in $(seq -w 300); do cd d$i; printf %032d 0 >f.wal; done)
  $ bentro /s "*.wal" >../out
  [2]
  $ grep -c 'does not fit' ../out; field d001/d002/d003/d004/d005/d006/f.wal
  294
  d001/d002/d003/d004/d005/d006/f-

A folder whose path has 4,096 bytes or more is not entered; the walk needs
little stack at any depth. Here 454 levels of eight letters (4,087 bytes),
then one of seven letters and one of eight.

  $ rm -r ./*; python3 -c 'import os
  > for _ in range(454): os.mkdir("dddddddd"); os.chdir("dddddddd")
  > os.makedirs("dddddddd/x"); os.mkdir("ddddddd"); os.close(os.open("ddddddd/f.wal", os.O_CREAT))'
  $ (ulimit -s 1024; bentro /s "*.wal") >../out
  [2]
  $ sed -E 's#(dddddddd/){454}#.../#' ../out; rm -r ./*
  ./.../ddddddd/f.wal
  File './.../ddddddd/f.wal' is shorter than the 32-byte name field; file left unchanged
  Directory './.../dddddddd' is nested too deeply; not entered

Linux's own: the help's examples, the advice to quote, and names that hold
"*" or "\\" or a link.

  $ bentro --help | tail -n +11
  Patterns: '*' matches any run of characters, '?' one, and letters match in
  either case; a pattern ending in '.*' also matches names without it. A
  folder part, as in 'Base/Wall*.wal', keeps the walk to that folder of the
  top folder (with /s, and those below it); fields are derived as always.
  Exit status: 0 no failure, 1 an argument refused, 2 a failure reported,
  3 with /l no failure but a field that would change.
  Examples:
    bentro /s "*.wal"           repair every .wal file here and below
    git ls-files -z ':(icase)*.wal' | xargs -0 bentro /l /q /f --
                                check every .wal file of a git repository
  $ wal a.wal; wal 'b\c.wal'; wal b/c.wal; wal 'd*.wal'; wal dd.wal; ln -s b link; ln -s a.wal link.wal
  $ wal e/f/g.wal; wal 'e\f/g.wal'
  $ bentro /f 'd*.wal' link/c.wal link.wal
  ./d*.wal
  ./link/c.wal
  Could not open file './link/c.wal' for reading.
  ./link.wal
  Could not open file './link.wal' for reading.
  [2]
  $ field 'd*.wal'; field dd.wal
  d*------------------------------
  OLD-----------------------------
  $ bentro "link/*.wal"
  Could not list directory './link'
  [2]
  $ bentro a.wal "*.wal"
  Several patterns given; only '*.wal' is used (quote the pattern to keep the shell from expanding it)
  ./a.wal
  ./b\c.wal
  ./d*.wal
  ./dd.wal
  ./link.wal
  Could not open file './link.wal' for reading.
  [2]
  $ bentro /s /l /q "*.wal"
  ./link.wal
  Could not open file './link.wal' for reading.
  ./b/c.wal
  Name field would change from 'OLD' to 'b/c'
  Name field of './b/c.wal' is the same as that of './b\c.wal'
  ./e/f/g.wal
  Name field would change from 'OLD' to 'e/f/g'
  ./e\f/g.wal
  Name field would change from 'OLD' to 'e/f/g'
  Name field of './e\f/g.wal' is the same as that of './e/f/g.wal'
  [2]
