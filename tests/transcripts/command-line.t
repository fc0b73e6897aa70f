The command line: the usage text without arguments; /s, /k and /l in any
order and case; other arguments beginning with "/" ignored, those beginning
with "-" refused; every other argument is the pattern, the last one winning,
with a warning.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal
  $ wal b.wal
  $ wal sub/x.wal
  $ bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro /? /sub /s/ / /l/
  $ bentro /s
  $ bentro /s -L "*.wal"
  Unknown switch '-l'; switches begin with '/': /s, /k, /l
  [1]
  $ bentro --Help
  Unknown switch '--help'; switches begin with '/': /s, /k, /l
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
