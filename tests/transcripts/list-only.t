/l writes nothing and shows each field that would change.

  $ . "$TESTDIR/setup.sh"
  $ wal Right.wal right; wal Sub/Wrong.wal 'SUB\\WRONG'; wal weird.wal 'weird\0\037 ~\177\200\377\001'; wal zero.wal ''
  $ touch -d 2001-01-01 ./*.wal Sub/Wrong.wal
  $ bentro /L /s "*.wal"
  ./Right.wal
  ./weird.wal
  Name field would change from 'weird\x00\x1f ~\x7f\x80\xff\x01' to 'weird'
  ./zero.wal
  Name field would change from '' to 'zero'
  ./Sub/Wrong.wal
  Name field would change from 'SUB\WRONG' to 'sub/wrong'
  [3]
  $ bentro right.wal /l
  ./Right.wal

A failure outweighs a field that would change.

  $ printf short >short.wal
  $ bentro /l "*o*.wal"
  ./short.wal
  File './short.wal' is shorter than the 32-byte name field; file left unchanged
  ./zero.wal
  Name field would change from '' to 'zero'
  [2]
  $ find . -name '*.wal' -newermt 2002-01-01; field weird.wal
  ./short.wal
  weird-\x1f ~\x7f\x80\xff\x01------------------- (esc)
