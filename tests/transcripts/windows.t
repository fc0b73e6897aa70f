  $ [ "$BENTRO_TARGET" = windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ bentro --help | tail -n +11
  Patterns: '*' matches any run of characters, '?' one, and letters match in
  either case; a pattern ending in '.*' also matches names without it. A
  folder part, as in 'Base\Wall*.wal', keeps the walk to that folder of the
  top folder (with /s, and those below it); fields are derived as always.
  Exit status: 0 no failure, 1 an argument refused, 2 a failure reported,
  3 with /l no failure but a field that would change.
  Examples:
    bentro /s *.wal                    repair every .wal file here and below
    bentro /l /q /f /t:textures textures\base\wall1.wal
                                       check one file, its field relative to textures

"\" and "/" both separate folders; no shell expands a pattern, so a warning
of several patterns gives no advice to quote.

  $ wal Base/Wall1.WAL; wal Base/In/x.wal; wal top.wal; bentro /s 'Base\*.wal' top.wal
  Several patterns given; only 'top.wal' is used
  ./top.wal
  $ bentro /s /l 'BASE\In/*.wal'
  ./BASE/In/x.wal
  Name field would change from 'OLD' to 'base/in/x'
  [3]
  $ bentro /l /f /t:base 'BASE\Wall1.WAL' base/wall1.wal Base/In/x.wal
  ./Wall1.WAL
  Name field would change from 'OLD' to 'wall1'
  ./In/x.wal
  Name field would change from 'OLD' to 'in/x'
  [3]
  $ rm -r ./*

Names in code page 1252 (Wine's for C.UTF-8), without best fit: no exact
form, no open.

  $ wal victim.wal VICTIM; mkdir top; cd top; wal 'sub/..＼..＼victim.wal'; wal wall.wal; wal ｗall.wal
  $ wal テクスチャ.wal; wal Стена.wal; wal é.wal; wal Ｄir/in.wal; bentro /f ｗall.wal wall.wal
  ./?all.wal
  Name of './?all.wal' has characters outside the system code page; file left unchanged
  ./wall.wal
  [2]
  $ bentro /l ｗall.wal
  Argument '?all.wal' has characters outside the system code page
  [1]
  $ bentro /s "*.wal"
  ./?????.wal
  Name of './?????.wal' has characters outside the system code page; file left unchanged
  ./?????.wal
  Name of './?????.wal' has characters outside the system code page; file left unchanged
  ./?all.wal
  Name of './?all.wal' has characters outside the system code page; file left unchanged
  ./wall.wal
  ./\xe9.wal (esc)
  Could not list directory './?ir'
  ./sub/..?..?victim.wal
  Name of './sub/..?..?victim.wal' has characters outside the system code page; file left unchanged
  [2]
  $ for f in ../victim.wal wall.wal ｗall.wal テクスチャ.wal Стена.wal Ｄir/in.wal; do field $f; done | uniq -c
        1 VICTIM--------------------------
        1 wall----------------------------
        4 OLD-----------------------------
  $ field é.wal; cd ..; rm -r top victim.wal
  \xe9------------------------------- (esc)

No short names; names opened as they are, not as Win32 paths.

  $ wal notes.walkthrough; wal x.wal1; wal x.wal; wal x.wal.; wal 'y.wal '; wal COM1.wal; wal NUL.wal; wal aux.wal
  $ bentro "*.wal"
  ./aux.wal
  ./COM1.wal
  ./NUL.wal
  ./x.wal
  $ bentro x.wal.
  ./x.wal.
  $ bentro 'y.wal '
  ./y.wal 
  $ for f in aux.wal COM1.wal NUL.wal x.wal x.wal. 'y.wal ' notes.walkthrough x.wal1; do field "$f"; done | tr -d - | xargs
  aux com1 nul x x.wal y OLD OLD
