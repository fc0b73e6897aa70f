Held in ./p/a by a full pipe, the tool is not led outside by ./p and ./q
swapped for links, nor opens a listed file turned FIFO.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ mkdir top; cd top; many p/a 2000; wal p/z/victim.wal; wal q/victim.wal; wal ../outside/victim.wal OUTSIDE
  $ wal ../outside/z/victim.wal OUTSIDE; hold /s "*.wal"
  $ mv p p.moved && ln -s ../outside p && mv q q.moved && ln -s ../outside q
  $ rm p.moved/a/999.wal && mkfifo p.moved/a/999.wal
  $ release >printed; grep -v '^\./p/a/' printed
  Could not open file './p/a/999.wal' for reading.
  ./p/z/victim.wal
  Could not list directory './q'
  status 2
  $ for f in p.moved/z q.moved ../outside/z ../outside; do field $f/victim.wal; done | tr -d - | xargs
  p/z/victim OLD OUTSIDE OUTSIDE
  $ cd ..; rm -r top outside

SIGTERM stops between two files; ignored, it stays so; no reader, no stop.

  $ many a 2000; hold /s "*.wal"; kill -TERM $held_tool; release >printed; tail -1 printed
  killed by SIGTERM
  $ bentro /s /l "*.wal" >listed
  [3]
  $ left=$(grep -c 'would change' listed)
  $ [ $left -gt 0 ] && [ $(($(grep -c '^\./' printed) + left)) -eq 2000 ] && echo matches
  matches
  $ trap '' TERM; hold /l /s "*.wal"; trap - TERM; kill -TERM $held_tool; release >printed; tail -1 printed
  status 3
  $ { exec 3>&1; helper shrink; bentro /s "*.wal"; echo "status $?" >&2; } | head -1
  ./a/1.wal
  Could not write to standard output
  status 2
  $ bentro /s /l "*.wal" >/dev/null

A second SIGTERM ends the run at once, its pipe still full, after a whole line.

  $ hold /s "*.wal"; kill -TERM $held_tool; sleep 0.1; kill -TERM $held_tool
  $ for i in $(seq 500); do [ -e "$held.end" ] && break; sleep 0.01; done; cat "$held.end"
  killed by SIGTERM
  $ release >printed; tail -2 printed | grep -c '^\./a/[0-9]*\.wal$'
  1

On a terminal, the line in hand is finished first.

  $ helper stalled-terminal bentro /s "*.wal"
  whole lines
  killed by SIGTERM

It stops between two folders too: here 2000 folders it cannot list, for want
of descriptors.

  $ rm -r a; mkdir $(seq -f d%04g 2000)
  $ BENTRO_RUNNER="prlimit --nofile=4" hold /s "*.wal"; kill -TERM $held_tool; release >printed; tail -1 printed
  killed by SIGTERM
  $ [ $(grep -c "^Could not list directory './d[0-9]*'$" printed) -lt 1000 ] && echo stopped early
  stopped early
