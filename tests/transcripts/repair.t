A tree of .wal files with stale name fields. With /s every match below the
start folder gets its field from its own path: cut at the last point, folded
to lower case, "/" between folders, zero bytes after it. Each folder's own
matches come first, then its sub-folders, each one whole; folders whose names
begin with a point are skipped. Arguments are folded, so /S is /s.

  $ . "$TESTDIR/setup.sh"
  $ wal top.wal 'Old\\NAME\001junk'
  $ wal Base/Wall1.WAL 'TEXTURES\\OLD\\WALL1'
  $ wal Base/Inner/Deep.wal
  $ printf 'EXACTLY THIRTY-TWO BYTES IN SIZE' >Base/Inner/exact.wal
  $ wal Sky/Sky.old.wal
  $ wal x.y/in.wal
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

/k writes "\" between folders. A name without wildcards matches in any case.
Without /s the walk stays in the start folder, where a folder that matches
is reported like any file that cannot be read.

  $ wal Base/Wall1.WAL
  $ bentro /K /s "wall1.wal"
  ./Base/Wall1.WAL
  $ field Base/Wall1.WAL
  base\wall1----------------------
  $ bentro "sky*"
  ./Sky
  Could not open file './Sky' for reading.
  [2]

A path is cut at its last point, even one in a folder's name or at its
start; a path without any point keeps the old field, folded (A to Z only)
and with its separators unified. The fold runs over all 32 bytes, past the
first zero byte.

  $ wal ver1.2/floor 'Textures/Base/X'
  $ wal Readme 'Textures\\Base\\X'
  $ wal Abc '@AZ[z\0DEF\\/\304'
  $ wal .wal
  $ bentro /s floor
  ./ver1.2/floor
  $ bentro /k Readme
  ./Readme
  $ bentro ABC
  ./Abc
  $ bentro .WAL
  ./.wal
  $ for f in ver1.2/floor Readme Abc .wal; do field $f; done
  ver1----------------------------
  textures\base\x-----------------
  @az[z-def//\xc4-------------------- (esc)
  --------------------------------
