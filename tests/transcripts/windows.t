  $ [ "$BENTRO_TARGET" = windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ bentro 'SUB\*.wal'
  Pattern 'SUB\*.wal' names a directory; start the tool in that directory instead
  [1]

Names in code page 1252 (Wine's for C.UTF-8), without best fit: no exact
form, no open.

  $ wal victim.wal VICTIM; mkdir top; cd top; wal 'sub/..＼..＼victim.wal'; wal wall.wal; wal ｗall.wal
  $ wal テクスチャ.wal; wal Стена.wal; wal é.wal; wal Ｄir/in.wal; bentro /s "*.wal"
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
