When memory runs out, here in the listing of a folder of 100,000 entries
under a limit of 8 MB of address space, the run flushes what it printed,
says so and ends with status 2. Not posed under AddressSanitizer, which
needs far more address space than that to start, nor under valgrind.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ ! grep -q __asan_init "$BENTRO_BINARY" || exit 80
  $ . "$TESTDIR/setup.sh"
  $ wal a/first.wal; mkdir b; (cd b && seq -f %06g.wal 100000 | xargs touch)
  $ (ulimit -v 8000; BENTRO_RUNNER= bentro /s "*.wal")
  ./a/first.wal
  Out of memory
  [2]
  $ field a/first.wal
  a/first-------------------------
