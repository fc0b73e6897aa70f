Switches and patterns; the first argument that decides the run wins.

  $ . "$TESTDIR/setup.sh"
  $ wal a.wal; wal b.wal; wal sub/x.wal

Without arguments, the usage text and status 1; asked for (--help, -h or /?),
the switches, the pattern rules, the exit statuses and examples, status 0.

  $ bentro
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
  [1]
  $ bentro /s -H >"$CRAMTMP/help"
  $ head -10 "$CRAMTMP/help"
  Usage: BENTRO [/s] [/?] <filename.wal>
   /s : Do sub-directories
   /k : Write '\' instead of '/' between directories in the name field
   /l : List only: show each name field that would change, write nothing
   /q : Quiet: show a file's path only when a message about it follows
   /c : Change only: write only the name fields that change, and show each
   /f : Files: each argument names one file, '*' and '?' in it as they are
   /t:FOLDER : Top folder: fields are derived from paths relative to FOLDER
   /?, --help : Show this text; --version : show the version
   -- : Every argument after it is a pattern or, with /f, a file name
  $ bentro /? /sub | cmp - "$CRAMTMP/help" && echo same as --help
  same as --help
  $ bentro --VERSION --help
  bentro 1.0

A switch typed by habit is refused before any walk, and nothing is written;
so is an argument beginning with "-", and switches typed together. Each is
quoted as typed; the first argument that decides the run wins.

  $ bentro /dryrun "*.wal"
  Unknown switch '/dryrun'; the switches are /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro "*.wal" /N
  Unknown switch '/N'; the switches are /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro /s -L "*.wal" --help
  Unknown switch '-L'; switches begin with '/': /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro /LS a.wal
  Unknown switch '/LS'; give each switch on its own: /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro /l/ a.wal
  Unknown switch '/l/'; the switches are /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro /q /srv/*.wad
  Unknown switch '/srv/*.wad'; the switches are /s /k /l /q /c /f /t:FOLDER /?
  [1]
  $ bentro /t: a.wal
  Switch '/t:' names no folder; give it as /t:FOLDER
  [1]
  $ fields
  ./a.wal OLD-----------------------------
  ./b.wal OLD-----------------------------
  ./sub/x.wal OLD-----------------------------

A run that checks (/l), reports changes (/c) or is quiet (/q) is refused
without a pattern, and fails when its pattern matches nothing, so that it
cannot pass without looking at a file. A plain run that matches nothing
does nothing.

  $ bentro /s /L
  No pattern given; name the files to repair, such as '*.wal'
  [1]
  $ bentro /C ""
  No pattern given; name the files to repair, such as '*.wal'
  [1]
  $ bentro /s /l /q "*.wall"
  No file matches '*.wall'
  [2]
  $ bentro /s "*.wall"
  $ bentro -- --help
  $ bentro /c -- -a.wal
  No file matches '-a.wal'
  [2]

The last pattern is used (with a warning: posix.t, windows.t).

  $ bentro a.wal "" >/dev/null
  $ bentro /S a.wal B.WAL >/dev/null
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
