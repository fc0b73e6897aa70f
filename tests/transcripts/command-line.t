The command line: the usage text without arguments; /s, /k, /l and /q in
any order and case; other arguments beginning with "/" ignored, but for
switches run together; --help, -h and --version as a Linux user expects,
other arguments beginning with "-" refused; every other argument is the
pattern, the last one winning, with a warning. The first argument that
decides the run on its own wins.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal
  $ wal b.wal
  $ wal sub/x.wal
  $ bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro /s -H
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  $ bentro --VERSION --help
  bentro 1.0
  $ bentro /? /sub /s/ / /k/
  $ bentro /s
  $ bentro /s -L "*.wal" --help
  Unknown switch '-l'; switches begin with '/': /s, /k, /l, /q
  [1]
  $ for switches in /LS /list /l/; do bentro $switches a.wal; done
  Unknown switch '/ls'; give each switch on its own: /s /k /l /q
  Unknown switch '/list'; give each switch on its own: /s /k /l /q
  Unknown switch '/l/'; give each switch on its own: /s /k /l /q
  [1]
  $ bentro /s "SUB/*.wal"
  Pattern 'sub/*.wal' names a directory; start the tool in that directory instead
  [1]
  $ bentro a.wal ""
  Several patterns given; only '' is used (quote the pattern to keep the shell from expanding it)
  $ bentro /S a.wal B.WAL
  Several patterns given; only 'b.wal' is used (quote the pattern to keep the shell from expanding it)
  ./b.wal
  $ fields
  ./a.wal OLD-----------------------------
  ./b.wal b-------------------------------
  ./sub/x.wal OLD-----------------------------

With /q a file's path is printed only when a message about it follows: a
failure, or with /l a field that would change. Messages and statuses are
as without it.

  $ printf short >short.wal; mkdir locked.wal
  $ bentro /L /Q /s "*.wal"
  ./a.wal
  Name field would change from 'OLD' to 'a'
  ./locked.wal
  Could not open file './locked.wal' for reading.
  ./short.wal
  File './short.wal' is shorter than the 32-byte name field; file left unchanged
  ./sub/x.wal
  Name field would change from 'OLD' to 'sub/x'
  [2]
  $ rm -r short.wal locked.wal; bentro /q /s "*.wal"; bentro /l /q /s "*.wal"; echo "status $?"
  status 0
