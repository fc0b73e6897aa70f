/c writes only the fields that change, and names each change; a field that is
right keeps its bytes and its modification time.

  $ . "$TESTDIR/setup.sh"
  $ wal right.wal right; wal Wrong.wal 'OLD\\NAME'; wal sub/right.wal sub/right; wal sub/Bad.wal
  $ printf short >short.wal; touch -d 2001-01-01 ./*.wal sub/*.wal
  $ bentro /s /c "*.wal"
  ./right.wal
  ./short.wal
  File './short.wal' is shorter than the 32-byte name field; file left unchanged
  ./Wrong.wal
  Name field changed from 'OLD\NAME' to 'wrong'
  ./sub/Bad.wal
  Name field changed from 'OLD' to 'sub/bad'
  ./sub/right.wal
  [2]
  $ find . -name '*.wal' -newermt 2002-01-01 | sort
  ./Wrong.wal
  ./sub/Bad.wal
  $ fields
  ./Wrong.wal wrong---------------------------
  ./right.wal right---------------------------
  ./short.wal short
  ./sub/Bad.wal sub/bad-------------------------
  ./sub/right.wal sub/right-----------------------

With /q it prints exactly the files it changed and those it could not repair;
a change is no failure.

  $ wal Wrong.wal 'WRONG AGAIN'
  $ bentro /s /c /q "*.wal"
  ./short.wal
  File './short.wal' is shorter than the 32-byte name field; file left unchanged
  ./Wrong.wal
  Name field changed from 'WRONG AGAIN' to 'wrong'
  [2]
  $ rm short.wal; wal sub/Bad.wal
  $ bentro /C /Q /S "*.wal"
  ./sub/Bad.wal
  Name field changed from 'OLD' to 'sub/bad'
  $ bentro /s /c /q "*.wal"

With /l nothing is written, /c or not.

  $ wal Wrong.wal
  $ bentro /c /l /s "*.wal"
  ./right.wal
  ./Wrong.wal
  Name field would change from 'OLD' to 'wrong'
  ./sub/Bad.wal
  ./sub/right.wal
  [3]
