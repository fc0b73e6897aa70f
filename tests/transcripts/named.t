/f: each argument names one file, relative to the current folder ("*" and
"?" as plain characters: posix.t). Each is visited once, in the order given,
with the lines, checks and statuses of a file the walk finds.

  $ . "$TESTDIR/setup.sh"
  $ wal Base/Wall1.WAL; wal 'Metal/New Plate.wal'; wal Metal/x.wal; wal top.wal top
  $ bentro /l /q /F top.wal Base/Wall1.WAL "Metal/New Plate.wal" ./Base//Wall1.WAL top.wal
  ./Base/Wall1.WAL
  Name field would change from 'OLD' to 'base/wall1'
  ./Metal/New Plate.wal
  Name field would change from 'OLD' to 'metal/new plate'
  [3]
  $ bentro /f Metal/x.wal -- -x.wal
  ./Metal/x.wal
  ./-x.wal
  Could not open file './-x.wal' for reading.
  [2]
  $ fields | tr -d -
  ./Base/Wall1.WAL OLD
  ./Metal/New Plate.wal OLD
  ./Metal/x.wal metal/x
  ./top.wal top

A name that does not exist, that is no file, or that lies outside the top
folder is reported and left alone (a link in its path: posix.t).

  $ bentro /f missing.wal Base ../top.wal
  ./missing.wal
  Could not open file './missing.wal' for reading.
  ./Base
  Could not open file './Base' for reading.
  ../top.wal
  File '../top.wal' is outside the top folder '.'; file left unchanged
  [2]

An empty list visits nothing, as xargs and git hooks may call it; the names
from git ls-files -z through xargs -0.

  $ bentro /l /q /f
  $ wal Metal/x.wal; git init -q; git add .; git ls-files -z ':(icase)*.wal' | xargs -0 sh -c 'bentro /l /q /f -- "$@"; echo "status $?"' sh
  ./Base/Wall1.WAL
  Name field would change from 'OLD' to 'base/wall1'
  ./Metal/New Plate.wal
  Name field would change from 'OLD' to 'metal/new plate'
  ./Metal/x.wal
  Name field would change from 'OLD' to 'metal/x'
  status 3

/t:FOLDER: fields relative to FOLDER, as for a hook run at the root of a
repository whose textures lie below it; a name outside FOLDER is reported.

  $ mkdir textures; mv Base Metal textures; bentro /c /q /f /t:textures textures/Base/Wall1.WAL textures/Metal/x.wal top.wal
  ./Base/Wall1.WAL
  Name field changed from 'OLD' to 'base/wall1'
  ./Metal/x.wal
  Name field changed from 'OLD' to 'metal/x'
  top.wal
  File 'top.wal' is outside the top folder 'textures'; file left unchanged
  [2]
  $ bentro /l /f /t:./textures/ textures/Base/Wall1.WAL
  ./Base/Wall1.WAL
  $ bentro /f /t:.. x.wal
  With /f, the top folder '..' must lie in or below the current folder
  [1]
  $ bentro /s /f top.wal
  Switch /s does not go with /f, which names each file to repair
  [1]
