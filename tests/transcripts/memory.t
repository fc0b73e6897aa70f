Out of memory, and a file-size limit (not posed under the sanitizers, whose
own start needs more memory and writes a file, nor under valgrind).

  $ [ "$BENTRO_TARGET" != windows ] && ! grep -q '__[at]san_init' "$BENTRO_BINARY" || exit 80
  $ . "$TESTDIR/setup.sh"
  $ wal a/first.wal; mkdir b; (cd b && seq -f %06g.wal 100000 | xargs touch)
  $ (ulimit -v 8000; BENTRO_RUNNER= bentro /s "*.wal")
  ./a/first.wal
  Out of memory
  [2]
  $ field a/first.wal
  a/first-------------------------

A chain of 1,000 folders with 255-byte names is entered up to the path limit
(15 levels), in as little memory as a flat tree.

  $ rm -r ./*; python3 -c 'import os
  > for _ in range(1000): os.mkdir("n" * 255); os.chdir("n" * 255)'
  $ (ulimit -v 8000; BENTRO_RUNNER= bentro /s "*.wal") >../out
  [2]
  $ sed -E 's#(/n{255}){16}#/(16 names)#' ../out; rm -r ./*
  Directory './(16 names)' is nested too deeply; not entered

A write that fails, and one that stores half the field.

  $ wal big.wal BIG
  $ (ulimit -f 0; BENTRO_RUNNER= bentro big.wal)
  ./big.wal
  Could not write the file './big.wal' correctly
  [2]
  $ field big.wal
  BIG-----------------------------
  $ wal half.wal ABCDEFGHIJKLMNOPQRSTUVWXYZ012345
  $ BENTRO_RUNNER="prlimit --fsize=16" bentro half.wal
  ./half.wal
  Incorrect number of bytes written for file './half.wal'. Expected 32, got 16
  [2]
  $ field half.wal
  half------------QRSTUVWXYZ012345
