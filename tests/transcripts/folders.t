A pattern's folder part keeps the walk to that folder (with /s, and those
below it); fields are derived, as always, from paths relative to the top
folder. A leading "./" is dropped.

  $ . "$TESTDIR/setup.sh"
  $ wal top.wal; wal Base/Wall1.WAL; wal Base/In/Deep.wal; wal Base/In/More/x.wal; wal Sky/s.wal
  $ bentro "Base/*.wal"
  ./Base/Wall1.WAL
  $ bentro /s /l "./Base//In/*.WAL"
  ./Base/In/Deep.wal
  Name field would change from 'OLD' to 'base/in/deep'
  ./Base/In/More/x.wal
  Name field would change from 'OLD' to 'base/in/more/x'
  [3]
  $ bentro /s /c /q "Base/In/*.wal"
  ./Base/In/Deep.wal
  Name field changed from 'OLD' to 'base/in/deep'
  ./Base/In/More/x.wal
  Name field changed from 'OLD' to 'base/in/more/x'
  $ fields
  ./Base/In/Deep.wal base/in/deep--------------------
  ./Base/In/More/x.wal base/in/more/x------------------
  ./Base/Wall1.WAL base/wall1----------------------
  ./Sky/s.wal OLD-----------------------------
  ./top.wal OLD-----------------------------

Each folder of it is opened in the one above, without following a link
(posix.t); one that cannot be is reported. A folder part that leaves the top
folder, or holds a wildcard, is refused before any walk.

  $ bentro /l "Base/Missing/*.wal"
  Could not list directory './Base/Missing'
  No file matches 'Base/Missing/*.wal'
  [2]
  $ bentro "Base/../*.wal"
  Folder part of pattern 'Base/../*.wal' leads outside the top folder; name a folder below it
  [1]
  $ bentro -- "/srv/*.wal"
  Folder part of pattern '/srv/*.wal' leads outside the top folder; name a folder below it
  [1]
  $ bentro /s "B*/*.wal"
  Folder part of pattern 'B*/*.wal' holds a wildcard; only its last part may
  [1]

/t:FOLDER walks FOLDER as if the tool had been started there, with or
without a folder part.

  $ wal Base/Wall1.WAL; bentro /t:Base /s /l "*.wal"
  ./Wall1.WAL
  Name field would change from 'OLD' to 'wall1'
  ./In/Deep.wal
  Name field would change from 'base/in/deep' to 'in/deep'
  ./In/More/x.wal
  Name field would change from 'base/in/more/x' to 'in/more/x'
  [3]
  $ bentro /T:../folders.t/Base /l "In/More/*.wal"
  ./In/More/x.wal
  Name field would change from 'base/in/more/x' to 'in/more/x'
  [3]
  $ bentro /t:Missing /s "*.wal"
  Could not list directory 'Missing'
  [2]
