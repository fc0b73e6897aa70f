What only Linux can pose: FIFOs, symbolic links, names that are not UTF-8
or hold control bytes, kernel file systems, resource limits, a running
program's file, standard output that cannot be written, paths of any length.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"

A FIFO is never opened: its waiting writer stays waiting, and its record
stays for the reader. Links are not followed, to files or to folders.

  $ wal ../outside.wal OUTSIDE
  $ wal sub/x.wal
  $ mkfifo fifo.wal
  $ echo record >fifo.wal & until_waiting $!
  $ ln -s ../outside.wal link.wal
  $ ln -s . loop.wal
  $ bentro /s "*.wal"
  ./fifo.wal
  Could not open file './fifo.wal' for reading.
  ./link.wal
  Could not open file './link.wal' for reading.
  ./loop.wal
  Could not open file './loop.wal' for reading.
  ./sub/x.wal
  [2]
  $ timeout 10 cat fifo.wal
  record
  $ field ../outside.wal
  OUTSIDE-------------------------
  $ rm -r fifo.wal link.wal loop.wal sub

Paths are printed with each control byte as \xNN, so that no name can pass
for a line of its own or drive the terminal; the field keeps the real bytes.

  $ wal "$(printf 'a\nCould not list directory \047.\047\n.wal')"
  $ wal "$(printf 'b\033]0;title\007\177.wal')"
  $ bentro "*.wal"
  ./a\x0aCould not list directory '.'\x0a.wal
  ./b\x1b]0;title\x07\x7f.wal
  $ field b*
  b\x1b]0;title\x07\x7f-------------------- (esc)
  $ rm ./*.wal

Started by a path that begins with "/" and holds an "l", the program's own
name is not taken for an argument.

  $ mkdir -p local/bin && ln -s "$BENTRO_BINARY" local/bin/bentro && "$PWD/local/bin/bentro" --version
  bentro 1.0
  $ rm -r local

A kernel file system, here the start folder in /proc, is not entered.

  $ (cd /proc/self && bentro /s /l "*.*")
  Directory '.' is on a kernel file system; not entered
  [2]

A write that fails (here at the file-size limit; valgrind, which writes
files of its own at start, stays out) and a running program's file, which
Linux opens for writing not even for root, are reported.

  $ wal big.wal BIG
  $ (ulimit -f 0; BENTRO_RUNNER= bentro big.wal)
  ./big.wal
  Could not write the file './big.wal' correctly
  [2]
  $ fields
  ./big.wal BIG-----------------------------
  $ cp /bin/sleep busy.wal
  $ ./busy.wal 60 & for i in $(seq 500); do
  >   [ "$(readlink /proc/$!/exe)" = "$PWD/busy.wal" ] && break; sleep 0.01; done
  $ bentro busy.wal
  ./busy.wal
  Could not open './busy.wal' for writing
  [2]
  $ kill $!; cmp busy.wal /bin/sleep
  $ rm busy.wal big.wal

Output that cannot be written fails the run, after the walk: to a full
device, however little it is, or with standard output closed, where no
message may land in a file the tool opens.

  $ wal a.wal; bentro a.wal >/dev/full
  Could not write to standard output
  [2]
  $ for i in $(seq 100); do printf short >short-and-left-unchanged-$i.wal; done
  $ bentro "*.wal" >/dev/full
  Could not write to standard output
  [2]
  $ wal b.wal; bentro "*.wal" >&-
  Could not write to standard output
  [2]
  $ field b.wal; cat short-* | wc -c
  b-------------------------------
  500
  $ rm ./*.wal

Names with bytes 128-255 sort after all others and keep them in the field.

  $ wal "$(printf '\200Z.wal')"
  $ wal Zeta.wal
  $ bentro "*.wal"
  ./Zeta.wal
  ./\x80Z.wal (esc)

Few descriptors are enough: one for each folder the walk is in, and every
file and listing is closed before the next is opened. Where the limit
stops the descent, that folder is reported. (Not under valgrind, which
keeps descriptors of its own below the limit.) 300 folders deep, paths grow
past 1,500 bytes; the cut name fits its 32 bytes down to the sixth level
only.

  $ rm ./*.wal; for d in $(seq -w 40); do wal $d.wal/in.wal; done
  $ (ulimit -n 16; BENTRO_RUNNER= bentro /s "*.wal") | tr -d 0-9 | sort | uniq -c
       40 ./.wal
       40 ./.wal/in.wal
       40 Could not open file './.wal' for reading.
  $ rm -r ./*
  $ mkdir -p $(printf 'd/%.0s' $(seq 20)); wal d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/x.wal
  $ (ulimit -n 12; BENTRO_RUNNER= bentro /s "*.wal") >out; echo "status $?"
  status 2
  $ sed 's|\./\(d/\)*d|./d/.../d|' out
  Could not list directory './d/.../d'

  $ rm -r ./*
  $ mkdir -p $(printf 'd%03d/' $(seq 300))
  $ (for i in $(seq -w 300); do cd d$i; printf %032d 0 >f.wal; done)
  $ bentro /s "*.wal" >out; echo $?; grep -c 'does not fit' out
  2
  294
  $ field d001/d002/d003/d004/d005/d006/f.wal
  d001/d002/d003/d004/d005/d006/f-
