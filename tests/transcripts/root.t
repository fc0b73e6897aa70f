What needs root to set up: device nodes, kernel file systems and a file
whose reads end before its size (a sysfs file mounted over it), mounted in
a mount namespace of its own that goes with the process, however it ends;
and runs as an unprivileged user, who cannot write a read-only file nor
list a locked folder.

  $ [ "$BENTRO_TARGET" != windows ] && [ "$(id -u)" = 0 ] || exit 80
  $ . "$TESTDIR/setup.sh"
  $ wal short.wal
  $ private_mounts 'mount --bind /sys/kernel/uevent_seqnum short.wal && bentro short.wal
  >   status=$?; umount short.wal; exit $status'
  ./short.wal
  Could not read from './short.wal' properly.
  [2]
  $ rm short.wal

A device node is never opened, not even for a look: opening one can start
the device.

  $ wal ok.wal; mknod null.wal c 1 3
  $ opened . bentro "*.wal"
  ./null.wal
  Could not open file './null.wal' for reading.
  ./ok.wal
  opened: ok.wal
  [2]
  $ rm null.wal ok.wal

The kernel's own file systems are not entered: their files are interfaces
to the kernel, not data. (With /l, so that a tool that did enter would
write nothing there.)

  $ mkdir proc sys
  $ private_mounts 'mount -t proc proc proc && mount -t sysfs sysfs sys && bentro /s /l "*.*"
  >   status=$?; umount proc sys; exit $status'
  ./.
  Could not open file './.' for reading.
  ./..
  Could not open file './..' for reading.
  ./proc
  Could not open file './proc' for reading.
  ./sys
  Could not open file './sys' for reading.
  Directory './proc' is on a kernel file system; not entered
  Directory './sys' is on a kernel file system; not entered
  [2]
  $ rmdir proc sys

  $ wal ro.wal; chmod 444 ro.wal
  $ wal Base/ok.wal; mkdir Base/locked
  $ chown -R nobody . && chmod 755 "$CRAMTMP" && chmod 000 Base/locked
  $ mkdir "$CRAMTMP/tool" "$CRAMTMP/wrapper"  # where nobody can reach them, unlike /root
  $ cp "$BENTRO_BINARY" "$CRAMTMP/tool"; cp "$TESTDIR/bentro" "$CRAMTMP/wrapper"
  $ as_nobody() { TMPDIR=/tmp PATH="$CRAMTMP/wrapper:$PATH" BENTRO_BINARY="$CRAMTMP/tool/${BENTRO_BINARY##*/}" \
  >   setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
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
