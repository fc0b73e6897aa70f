What needs root to set up: a file whose reads end before its size (a sysfs
file mounted over it, in a mount namespace of its own that goes with the
process, however it ends), and runs as an unprivileged user, who cannot write a
read-only file nor list a locked folder.

  $ [ "$BENTRO_TARGET" != windows ] && [ "$(id -u)" = 0 ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ wal short.wal
  $ unshare -m sh -c 'mount --bind /sys/kernel/uevent_seqnum short.wal && bentro short.wal'
  ./short.wal
  Could not read from './short.wal' properly.
  [2]
  $ rm short.wal

  $ wal ro.wal; chmod 444 ro.wal
  $ wal Base/ok.wal; mkdir Base/locked
  $ chown -R nobody . && chmod 755 "$CRAMTMP" && chmod 000 Base/locked
  $ as_nobody() { TMPDIR=/tmp setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  $ as_nobody bentro /s "*.wal"
  ./ro.wal
  Could not open './ro.wal' for writing
  ./Base/ok.wal
  Could not list directory './Base/locked'
  [2]
  $ as_nobody bentro /l "*.wal"
  ./ro.wal
  Name field would change from 'OLD' to 'ro'
  [3]
  $ chmod 000 . && as_nobody bentro "*.wal"
  Could not list directory '.'
  [2]
  $ chmod 755 .
  $ fields
  ./Base/ok.wal base/ok-------------------------
  ./ro.wal OLD-----------------------------
