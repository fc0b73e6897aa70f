Switches and patterns; the first argument that decides the run wins.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal; wal b.wal; wal sub/x.wal
  $ bentro /s -H && bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro --VERSION --help; bentro /? /sub /s/ / /k/; bentro /s
  bentro 1.0
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
  $ bentro a.wal ""; bentro /S a.wal B.WAL
  Several patterns given; only '' is used (quote the pattern to keep the shell from expanding it)
  Several patterns given; only 'b.wal' is used (quote the pattern to keep the shell from expanding it)
  ./b.wal
  $ field a.wal; field b.wal
  OLD-----------------------------
  b-------------------------------

/q prints a path only when a message about it follows.

  $ printf short >short.wal; mkdir locked.wal; bentro /L /Q /s "*.wal"
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
