Each field from its path: cut at the last point, folded, "/" (/k: "\").

  $ . "$TESTDIR/setup.sh"
  $ wal top.wal 'Old\\NAME\001junk'; wal Base/Wall1.WAL 'TEXTURES\\OLD\\WALL1'; wal Base/Inner/Deep.wal
  $ printf 'EXACTLY THIRTY-TWO BYTES IN SIZE' >Base/Inner/exact.wal; wal Sky/Sky.old.wal; wal x.y/in.wal
  $ wal .hidden/h.wal KEEP
  $ bentro /S "*.WAL"
  ./top.wal
  ./Base/Wall1.WAL
  ./Base/Inner/Deep.wal
  ./Base/Inner/exact.wal
  ./Sky/Sky.old.wal
  ./x.y/in.wal
  $ fields
  ./.hidden/h.wal KEEP----------------------------
  ./Base/Inner/Deep.wal base/inner/deep-----------------
  ./Base/Inner/exact.wal base/inner/exact----------------
  ./Base/Wall1.WAL base/wall1----------------------
  ./Sky/Sky.old.wal sky/sky.old---------------------
  ./top.wal top-----------------------------
  ./x.y/in.wal x.y/in--------------------------
  $ wal Base/Wall1.WAL
  $ bentro /K /s "wall1.wal"
  ./Base/Wall1.WAL
  $ field Base/Wall1.WAL
  base\wall1----------------------

A matching folder is reported; a path without a point keeps the old field,
folded.

  $ bentro "sky*"
  ./Sky
  Could not open file './Sky' for reading.
  [2]
  $ wal Readme 'Textures\\Base\\X\0Tail'
  $ bentro /k Readme
  ./Readme
  $ field Readme
  textures\base\x-tail------------
