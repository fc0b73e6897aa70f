What cannot be repaired is reported after its path and left as it was.

  $ . "$TESTDIR/setup.sh"
  $ wal a234567890123456789012345678901.wal; wal a2345678901234567890123456789012.wal; wal dir.wal/in.wal; printf 0123456789 >short.wal
  $ bentro /s "*.wal"
  ./a234567890123456789012345678901.wal
  ./a2345678901234567890123456789012.wal
  Name for './a2345678901234567890123456789012.wal' does not fit in the 32-byte name field; file left unchanged
  ./dir.wal
  Could not open file './dir.wal' for reading.
  ./short.wal
  File './short.wal' is shorter than the 32-byte name field; file left unchanged
  ./dir.wal/in.wal
  [2]
  $ bentro /l "a*2.wal"
  ./a2345678901234567890123456789012.wal
  Name for './a2345678901234567890123456789012.wal' does not fit in the 32-byte name field; file left unchanged
  [2]
  $ fields
  ./a234567890123456789012345678901.wal a234567890123456789012345678901-
  ./a2345678901234567890123456789012.wal OLD-----------------------------
  ./dir.wal/in.wal dir.wal/in----------------------
  ./short.wal 0123456789

Only the field is read and written: a sparse 3 GiB file stays sparse.

  $ wal huge.wal; truncate -s 3G huge.wal
  $ bentro huge.wal
  ./huge.wal
  $ field huge.wal; wc -c <huge.wal; [ $(du -k huge.wal | cut -f1) -lt 1024 ] && echo sparse
  huge----------------------------
  3221225472
  sparse

A file with more than one name (hard links) is left unchanged, whether its
other name lies inside the tree or outside it.

  $ rm -r ./*; wal a/x.wal; mkdir b; ln a/x.wal b/x.wal; wal ../outside.wal OUTSIDE; ln ../outside.wal linked.wal
  $ bentro /s "*.wal"
  ./linked.wal
  File './linked.wal' has more than one name (hard links); file left unchanged
  ./a/x.wal
  File './a/x.wal' has more than one name (hard links); file left unchanged
  ./b/x.wal
  File './b/x.wal' has more than one name (hard links); file left unchanged
  [2]
  $ bentro /l linked.wal
  ./linked.wal
  File './linked.wal' has more than one name (hard links); file left unchanged
  [2]
  $ field a/x.wal; field ../outside.wal
  OLD-----------------------------
  OUTSIDE-------------------------
