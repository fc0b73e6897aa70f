What only Windows poses: "\" separates folders, so a pattern holding one is
refused as well.

  $ [ "$BENTRO_TARGET" = windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ bentro 'SUB\*.wal'
  Pattern 'sub\*.wal' names a directory; start the tool in that directory instead
  [1]

Names reach the tool in the system's ANSI code page, here Windows-1252
(Wine's for the C.UTF-8 locale), without best fit: a name with no exact
form in it is printed with "?" for what has none, and never opened, derived
or walked into. So "..＼..＼victim.wal" (fullwidth reverse solidus) cannot
reach the file two levels up, "ｗall.wal" is not "wall.wal", and two names
that both read "?????.wal" are both reported. A name the code page holds,
"é.wal", keeps its byte there (0xE9) in the field.

  $ wal victim.wal VICTIM; mkdir top; cd top
  $ wal 'sub/..＼..＼victim.wal'; wal wall.wal; wal ｗall.wal; wal テクスチャ.wal; wal Стена.wal
  $ wal é.wal; wal Ｄir/in.wal
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
  $ field ../victim.wal; for f in wall.wal ｗall.wal テクスチャ.wal Стена.wal é.wal Ｄir/in.wal; do field $f; done
  VICTIM--------------------------
  wall----------------------------
  OLD-----------------------------
  OLD-----------------------------
  OLD-----------------------------
  \xe9------------------------------- (esc)
  OLD-----------------------------
  $ cd ..; rm -r top victim.wal

Only the names themselves are matched, not the short 8.3 names the system
keeps beside them ("NOTES~1.WAL"). Each name is opened as it is, not as a
Win32 path: trailing points and spaces stay part of it, and a device name
followed by an extension names a file, not the device.

  $ wal notes.walkthrough; wal x.wal1; wal x.wal; wal x.wal.; wal 'y.wal '; wal COM1.wal
  $ wal NUL.wal; wal aux.wal
  $ bentro "*.wal"
  ./aux.wal
  ./COM1.wal
  ./NUL.wal
  ./x.wal
  $ bentro x.wal.; bentro 'y.wal '
  ./x.wal.
  ./y.wal 
  $ fields; for f in x.wal. 'y.wal ' notes.walkthrough x.wal1; do field "$f"; done
  ./COM1.wal com1----------------------------
  ./NUL.wal nul-----------------------------
  ./aux.wal aux-----------------------------
  ./x.wal x-------------------------------
  x.wal---------------------------
  y-------------------------------
  OLD-----------------------------
  OLD-----------------------------
