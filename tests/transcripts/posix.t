What only Linux can pose: FIFOs, symbolic links, names that are not UTF-8,
resource limits, a running program's file, paths of any length.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"

A FIFO does not hold up the walk; links to folders are not descended into.

  $ wal real.bin REAL
  $ wal sub/x.wal
  $ mkfifo fifo.wal
  $ ln -s real.bin link.wal
  $ ln -s nowhere dangling.wal
  $ ln -s . loop.wal
  $ ln -s .. sub/up
  $ bentro /s "*.wal"
  ./dangling.wal
  Could not open file './dangling.wal' for reading.
  ./fifo.wal
  Could not open file './fifo.wal' for reading.
  ./link.wal
  ./loop.wal
  Could not open file './loop.wal' for reading.
  ./sub/x.wal
  [2]
  $ head -c 4 real.bin; echo
  link
  $ rm fifo.wal link.wal dangling.wal loop.wal sub/up

A file that ends before its size said, a write that fails part-way (here at
the file-size limit) and a running program's file, which Linux opens for
writing not even for root: each is reported and keeps every byte after the
field.

  $ wal big.wal BIG
  $ for i in 1 2 3 4 5 6; do cat big.wal big.wal >big2; mv big2 big.wal; done
  $ cp big.wal big.orig
  $ (trap '' XFSZ; ulimit -f 8; bentro big.wal)
  ./big.wal
  Could not write the file './big.wal' correctly
  [2]
  $ tail -c +33 big.wal | cmp - big.orig -i 0:32 && wc -c <big.wal
  18432
  $ ln -s /sys/kernel/uevent_seqnum sys.wal
  $ bentro sys.wal
  ./sys.wal
  Could not read from './sys.wal' properly.
  [2]
  $ cp /bin/sleep busy.wal
  $ ./busy.wal 60 & for i in $(seq 500); do
  >   [ "$(readlink /proc/$!/exe)" = "$PWD/busy.wal" ] && break; sleep 0.01; done
  $ bentro busy.wal
  ./busy.wal
  Could not open './busy.wal' for writing
  [2]
  $ kill $!; cmp busy.wal /bin/sleep
  $ rm busy.wal big.* sys.wal

Names with bytes 128-255 sort after all others and keep them in the field.

  $ wal "$(printf '\304\326\377.wal')"
  $ wal "$(printf '\200Z.wal')"
  $ wal Zeta.wal
  $ bentro "*.wal"
  ./Zeta.wal
  ./\x80Z.wal (esc)
  ./\xc4\xd6\xff.wal (esc)

Few descriptors are enough: every file and every folder listing is closed
before the next is opened. 300 folders deep, paths grow past 1,500 bytes; the
cut name fits its 32 bytes down to the sixth level only.

  $ for d in $(seq -w 40); do wal $d/in.wal; done
  $ (ulimit -n 16; bentro /s in.wal) | tr -d 0-9 | uniq -c
       40 .//in.wal
  $ rm -r ./*
  $ mkdir -p $(printf 'd%03d/' $(seq 300))
  $ (for i in $(seq -w 300); do cd d$i; printf %032d 0 >f.wal; done)
  $ bentro /s "*.wal" >out; echo $?; grep -c 'does not fit' out
  2
  294
  $ for f in d001/d002/d003/d004/d005/d006 d001/d002/d003/d004/d005/d006/d007; do
  >   field $f/f.wal; done
  d001/d002/d003/d004/d005/d006/f-
  00000000000000000000000000000000
