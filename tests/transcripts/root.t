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

Nor is any other kernel file system that can be mounted here: nothing
inside one is visited.

  $ private_mounts 'for fs in cgroup2 securityfs bpf pstore binfmt_misc fusectl mqueue devpts; do
  >     mkdir $fs && mount -t $fs none $fs 2>/dev/null; done
  >   bentro /s /l "*" >out; umount -q $(ls); rmdir $(ls -d */)'
  $ grep '^\./[a-z0-9_]*/' out || echo "none entered"
  none entered
  $ rm out

Standard output closed, with no null device that could take its place: the
tool writes nothing, since a file it opened could take the place of its
output.

  $ wal a.wal; touch null
  $ private_mounts 'mount --bind null /dev/null && mount -o remount,bind,ro /dev/null && bentro a.wal >&-
  >   status=$?; umount /dev/null; exit $status'
  Could not write to standard output
  [2]
  $ field a.wal; rm a.wal null
  OLD-----------------------------

  $ wal ro.wal; chmod 444 ro.wal; wal secret.wal
  $ wal Base/ok.wal; mkdir Base/locked
  $ chown -R nobody . && chmod 755 "$CRAMTMP" && chmod 000 Base/locked secret.wal
  $ mkdir "$CRAMTMP/tool" "$CRAMTMP/wrapper"  # where nobody can reach them, unlike /root
  $ cp "$BENTRO_BINARY" "$CRAMTMP/tool"; cp "$TESTDIR/bentro" "$CRAMTMP/wrapper"
  $ as_nobody() { TMPDIR=/tmp PATH="$CRAMTMP/wrapper:$PATH" BENTRO_BINARY="$CRAMTMP/tool/${BENTRO_BINARY##*/}" \
  >   setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  $ as_nobody bentro /s "*.wal"
  ./ro.wal
  Could not open './ro.wal' for writing
  ./secret.wal
  Could not open file './secret.wal' for reading.
  ./Base/ok.wal
  Could not list directory './Base/locked'
  [2]
  $ as_nobody bentro /l /q /s "*.wal"
  ./ro.wal
  Name field would change from 'OLD' to 'ro'
  ./secret.wal
  Could not open file './secret.wal' for reading.
  Could not list directory './Base/locked'
  [2]
  $ chmod 000 . && as_nobody bentro "*.wal"
  Could not list directory '.'
  [2]
  $ chmod 755 .
  $ chmod 644 secret.wal; fields
  ./Base/ok.wal base/ok-------------------------
  ./ro.wal OLD-----------------------------
  ./secret.wal OLD-----------------------------
