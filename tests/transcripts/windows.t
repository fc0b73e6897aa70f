What only Windows poses: "\" separates folders, so a pattern holding one is
refused as well.

  $ [ "$BENTRO_TARGET" = windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ bentro 'SUB\*.wal'
  Pattern 'sub\*.wal' names a directory; start the tool in that directory instead
  [1]
