Switches and patterns; the first argument that decides the run wins.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal; wal b.wal; wal sub/x.wal

Without arguments, the usage text and status 1; asked for, with every switch
and status 0.

  $ bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro /s -H
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
   /k : Write '\' instead of '/' between directories in the name field
   /l : List only: show each name field that would change, write nothing
   /q : Quiet: show a file's path only when a message about it follows
   /c : Change only: write only the name fields that change, and show each
  $ bentro --VERSION --help
  bentro 1.0

Other switches beginning with "/" are ignored; without a pattern nothing
matches. A run that checks (/l), reports changes (/c) or is quiet (/q) is
refused without one, so that it cannot pass without looking at a file.

  $ bentro /? /sub /s/ / /k/
  $ bentro /s
  $ bentro /s /L
  No pattern given; name the files to repair, such as '*.wal'
  [1]
  $ bentro /q /srv/*.wad
  No pattern given; name the files to repair, such as '*.wal'
  [1]
  $ bentro /C ""
  No pattern given; name the files to repair, such as '*.wal'
  [1]

Refused before any walk, each argument quoted as typed: a switch beginning
with "-", switches typed together with /l or /c, a pattern naming a folder.

  $ bentro /s -L "*.wal" --help
  Unknown switch '-L'; switches begin with '/': /s, /k, /l, /q, /c
  [1]
  $ bentro /LS a.wal
  Unknown switch '/LS'; give each switch on its own: /s /k /l /q /c
  [1]
  $ bentro /list a.wal
  Unknown switch '/list'; give each switch on its own: /s /k /l /q /c
  [1]
  $ bentro /l/ a.wal
  Unknown switch '/l/'; give each switch on its own: /s /k /l /q /c
  [1]
  $ bentro /sC a.wal
  Unknown switch '/sC'; give each switch on its own: /s /k /l /q /c
  [1]
  $ bentro /s "SUB/*.wal"
  Pattern 'SUB/*.wal' names a directory; start the tool in that directory instead
  [1]

The last pattern is used, with a warning; an empty one matches nothing.

  $ bentro a.wal ""
  Several patterns given; only '' is used (quote the pattern to keep the shell from expanding it)
  $ bentro /S a.wal B.WAL
  Several patterns given; only 'B.WAL' is used (quote the pattern to keep the shell from expanding it)
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
  $ rm -r short.wal locked.wal; bentro /q /s "*.wal"
  $ bentro /l /q /s "*.wal"
