A tree that changes while the tool runs cannot lead it outside: each folder
is opened relative to the folder above it, which the walk holds open, and
never through a link. Here the tool is held by a full output pipe inside
./p/a while a folder not yet entered (./q) and the folder above the one
being walked (./p) are swapped for links to a folder outside the tree, and
the last file of ./p/a, listed as a regular file, for a FIFO.

  $ [ "$BENTRO_TARGET" != windows ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ mkdir top; cd top
  $ many p/a 2000; wal p/z/victim.wal; wal q/victim.wal
  $ wal ../outside/z/victim.wal OUTSIDE; wal ../outside/victim.wal OUTSIDE
  $ hold /s "*.wal"
  $ mv p p.moved && ln -s ../outside p && mv q q.moved && ln -s ../outside q
  $ rm p.moved/a/999.wal && mkfifo p.moved/a/999.wal
  $ release >printed; grep -v '^\./p/a/' printed
  Could not open file './p/a/999.wal' for reading.
  ./p/z/victim.wal
  Could not list directory './q'
  status 2

The folder moved while it was walked is finished where it now is; nothing
outside the tree changed.

  $ for f in p.moved/z/victim.wal q.moved/victim.wal ../outside/z/victim.wal ../outside/victim.wal
  > do printf '%s ' $f; field $f; done
  p.moved/z/victim.wal p/z/victim----------------------
  q.moved/victim.wal OLD-----------------------------
  ../outside/z/victim.wal OUTSIDE-------------------------
  ../outside/victim.wal OUTSIDE-------------------------
  $ cd ..; rm -r top outside

A stop request ends the run between two files: every file whose path was
printed is repaired, no other, and the run ends as killed by the signal.
A signal that whoever started the tool ignores (as nohup does) stays
ignored, and a reader that goes away ends nothing: the walk goes on to the
end.

  $ many a 2000
  $ hold /s "*.wal"
  $ kill -TERM $held_tool; release >printed; tail -1 printed
  killed by SIGTERM
  $ left=$(bentro /s /l "*.wal" | grep -c 'would change')
  $ [ $left -gt 0 ] && [ $(($(grep -c '^\./' printed) + left)) -eq 2000 ] && echo matches
  matches
  $ trap '' TERM; hold /l /s "*.wal"; trap - TERM
  $ kill -TERM $held_tool; release >printed; tail -1 printed
  status 3
  $ { exec 3>&1; held_pipe shrink; bentro /s "*.wal"; echo "status $?" >&2; } | head -1
  ./a/1.wal
  Could not write to standard output
  status 2
  $ bentro /s /l "*.wal" >/dev/null; echo "status $?"
  status 0
