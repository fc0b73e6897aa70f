One order whatever the file system: ".", "..", then by name as capitals
(names that give one field are reported).

  $ . "$TESTDIR/setup.sh"
  $ for name in b _x aB C AC Ab -a z Z.wal; do wal $name.wal; done
  $ bentro "*"
  ./.
  Could not open file './.' for reading.
  ./..
  Could not open file './..' for reading.
  ./-a.wal
  ./Ab.wal
  ./aB.wal
  Name field of './aB.wal' is the same as that of './Ab.wal'
  ./AC.wal
  ./b.wal
  ./C.wal
  ./z.wal
  ./Z.wal.wal
  ./_x.wal
  [2]
