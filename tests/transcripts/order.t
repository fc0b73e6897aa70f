Within a folder the entries come in one fixed order, whatever the file system
yields: "." and ".." first, then by name with letters compared as capitals,
a name before any longer name it begins, and names equal but for case by
their bytes. Sub-folders are walked in the same order.

  $ . "$TESTDIR/setup.sh"
  $ for name in b _x aB C a_b AC Ab -a z Z.wal; do wal $name.wal; done
  $ bentro "*"
  ./.
  Could not open file './.' for reading.
  ./..
  Could not open file './..' for reading.
  ./-a.wal
  ./Ab.wal
  ./aB.wal
  ./AC.wal
  ./a_b.wal
  ./b.wal
  ./C.wal
  ./z.wal
  ./Z.wal.wal
  ./_x.wal
  [2]
  $ bentro "?a.wal"
  ./-a.wal
  $ for dir in delta Beta alpha Gamma; do wal $dir/in.wal; done
  $ bentro /s "in.wal"
  ./alpha/in.wal
  ./Beta/in.wal
  ./delta/in.wal
  ./Gamma/in.wal
