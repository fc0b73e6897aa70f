Out of memory (not posed under AddressSanitizer nor valgrind).

  $ [ "$BENTRO_TARGET" != windows ] && ! grep -q __asan_init "$BENTRO_BINARY" || exit 80
  $ . "$TESTDIR/setup.sh"
  $ wal a/first.wal; mkdir b; (cd b && seq -f %06g.wal 100000 | xargs touch)
  $ (ulimit -v 8000; BENTRO_RUNNER= bentro /s "*.wal")
  ./a/first.wal
  Out of memory
  [2]
  $ field a/first.wal
  a/first-------------------------
