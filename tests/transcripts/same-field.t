Two files whose paths give one field: the second is reported after its own
lines, under /l and /c too, and both fields are written, each right for its
own path. Fields kept from the old bytes (no point) and empty ones are not
compared.

  $ . "$TESTDIR/setup.sh"
  $ wal Base/Wall1.WAL; wal base/wall1.wal; wal Base/In/x.wal; wal base/In/x.wal; wal base/In/y.wal
  $ bentro /s "*.wal"
  ./Base/Wall1.WAL
  ./Base/In/x.wal
  ./base/wall1.wal
  Name field of './base/wall1.wal' is the same as that of './Base/Wall1.WAL'
  ./base/In/x.wal
  Name field of './base/In/x.wal' is the same as that of './Base/In/x.wal'
  ./base/In/y.wal
  [2]
  $ fields | tr -d - | uniq -c -f1
        1 ./Base/In/x.wal base/in/x
        1 ./Base/Wall1.WAL base/wall1
        1 ./base/In/x.wal base/in/x
        1 ./base/In/y.wal base/in/y
        1 ./base/wall1.wal base/wall1
  $ rm -r ./*; wal sky.wal; wal Sky.pcx; wal Readme; wal readme; wal .wal; wal .pcx
  $ wal a/c/d.wal; wal A/c/d.wal
  $ bentro /c "sky.*"
  ./Sky.pcx
  Name field changed from 'OLD' to 'sky'
  ./sky.wal
  Name field changed from 'OLD' to 'sky'
  Name field of './sky.wal' is the same as that of './Sky.pcx'
  [2]
  $ bentro /l "readme"
  ./Readme
  Name field would change from 'OLD' to 'old'
  ./readme
  Name field would change from 'OLD' to 'old'
  [3]
  $ bentro /q ".???"
  $ bentro /q /s "*.wal"
  ./a/c/d.wal
  Name field of './a/c/d.wal' is the same as that of './A/c/d.wal'
  [2]

A field cut at a point in a folder's name is compared across folders.

  $ rm -r ./*; wal v1.2/xa; wal v1.2/in/xb; wal v1.3/xc; wal v1/xd.wal
  $ bentro /s /l /q "x*"
  ./v1/xd.wal
  Name field would change from 'OLD' to 'v1/xd'
  ./v1.2/xa
  Name field would change from 'OLD' to 'v1'
  ./v1.2/in/xb
  Name field would change from 'OLD' to 'v1'
  Name field of './v1.2/in/xb' is the same as that of './v1.2/xa'
  ./v1.3/xc
  Name field would change from 'OLD' to 'v1'
  Name field of './v1.3/xc' is the same as that of './v1.2/xa'
  [2]
