Switches and patterns; the first argument that decides the run wins.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal; wal b.wal; wal sub/x.wal

Without arguments, the usage text and status 1; asked for, status 0.

  $ bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro /s -H
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  $ bentro --VERSION --help
  bentro 1.0

Other switches beginning with "/" are ignored; without a pattern nothing
matches.

  $ bentro /? /sub /s/ / /k/
  $ bentro /s

Refused before any walk: a switch beginning with "-", switches typed
together, a pattern naming a folder.

  $ bentro /s -L "*.wal" --help
  Unknown switch '-l'; switches begin with '/': /s, /k, /l, /q
  [1]
  $ bentro /LS a.wal
  Unknown switch '/ls'; give each switch on its own: /s /k /l /q
  [1]
  $ bentro /list a.wal
  Unknown switch '/list'; give each switch on its own: /s /k /l /q
  [1]
  $ bentro /l/ a.wal
  Unknown switch '/l/'; give each switch on its own: /s /k /l /q
  [1]
  $ bentro /s "SUB/*.wal"
  Pattern 'sub/*.wal' names a directory; start the tool in that directory instead
  [1]

The last pattern is used, with a warning; an empty one matches nothing.

  $ bentro a.wal ""
  Several patterns given; only '' is used (quote the pattern to keep the shell from expanding it)
  $ bentro /S a.wal B.WAL
  Several patterns given; only 'b.wal' is used (quote the pattern to keep the shell from expanding it)
  ./b.wal
  $ field a.wal; field b.wal
  OLD-----------------------------
  b-------------------------------

/q prints a path only when a message about it follows.

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
  $ rm -r short.wal locked.wal
  $ bentro /q /s "*.wal"
  $ bentro /l /q /s "*.wal"
