What only Linux can pose: FIFOs, symbolic links, names that are not UTF-8,
resource limits, a running program's file, standard output that cannot be
written, paths of any length.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"

A FIFO does not hold up the walk; links are not followed, to files or to
folders.

  $ wal ../outside.wal OUTSIDE
  $ wal sub/x.wal
  $ mkfifo fifo.wal
  $ ln -s ../outside.wal link.wal
  $ ln -s . loop.wal
  $ bentro /s "*.wal"
  ./fifo.wal
  Could not open file './fifo.wal' for reading.
  ./link.wal
  Could not open file './link.wal' for reading.
  ./loop.wal
  Could not open file './loop.wal' for reading.
  ./sub/x.wal
  [2]
  $ field ../outside.wal
  OUTSIDE-------------------------
  $ rm -r fifo.wal link.wal loop.wal sub

A write that fails (here at the file-size limit; valgrind, which writes
files of its own at start, stays out) and a running program's file, which
Linux opens for writing not even for root, are reported.

  $ wal big.wal BIG
  $ (ulimit -f 0; BENTRO_RUNNER= bentro big.wal)
  ./big.wal
  Could not write the file './big.wal' correctly
  [2]
  $ fields
  ./big.wal BIG-----------------------------
  $ cp /bin/sleep busy.wal
  $ ./busy.wal 60 & for i in $(seq 500); do
  >   [ "$(readlink /proc/$!/exe)" = "$PWD/busy.wal" ] && break; sleep 0.01; done
  $ bentro busy.wal
  ./busy.wal
  Could not open './busy.wal' for writing
  [2]
  $ kill $!; cmp busy.wal /bin/sleep
  $ rm busy.wal big.wal

Output that cannot be written fails the run, after the walk: to a full
device, or with standard output closed, where no message may land in a
file the tool opens.

  $ wal a.wal; for i in $(seq 100); do printf short >short-and-left-unchanged-$i.wal; done
  $ bentro "*.wal" >/dev/full
  Could not write to standard output
  [2]
  $ bentro "*.wal" >&-
  Could not write to standard output
  [2]
  $ field a.wal; cat short-* | wc -c
  a-------------------------------
  500
  $ rm ./*.wal

Names with bytes 128-255 sort after all others and keep them in the field.

  $ wal "$(printf '\200Z.wal')"
  $ wal Zeta.wal
  $ bentro "*.wal"
  ./Zeta.wal
  ./\x80Z.wal (esc)

Few descriptors are enough: every file and every folder listing is closed
before the next is opened. 300 folders deep, paths grow past 1,500 bytes; the
cut name fits its 32 bytes down to the sixth level only.

  $ rm ./*.wal; for d in $(seq -w 40); do wal $d.wal/in.wal; done
  $ (ulimit -n 16; bentro /s "*.wal") | tr -d 0-9 | sort | uniq -c
       40 ./.wal
       40 ./.wal/in.wal
       40 Could not open file './.wal' for reading.
  $ rm -r ./*
  $ mkdir -p $(printf 'd%03d/' $(seq 300))
  $ (for i in $(seq -w 300); do cd d$i; printf %032d 0 >f.wal; done)
  $ bentro /s "*.wal" >out; echo $?; grep -c 'does not fit' out
  2
  294
  $ field d001/d002/d003/d004/d005/d006/f.wal
  d001/d002/d003/d004/d005/d006/f-
