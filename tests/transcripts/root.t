  $ [ "$BENTRO_TARGET" != windows ] && [ "$(id -u)" = 0 ] || exit 80
  $ . "$TESTDIR/setup.sh"

A short read, a device node, kernel file systems (with /l, so that a fault
writes nothing there).

  $ wal short.wal; private_mounts 'mount --bind /sys/kernel/uevent_seqnum short.wal &&
  >   bentro short.wal; status=$?; umount short.wal; exit $status'
  ./short.wal
  Could not read from './short.wal' properly.
  [2]
  $ rm short.wal; wal ok.wal; mknod null.wal c 1 3; helper opened . bentro "*.wal"
  ./null.wal
  Could not open file './null.wal' for reading.
  ./ok.wal
  opened: ok.wal
  [2]
  $ rm ./*; private_mounts 'for fs in proc sysfs cgroup2 securityfs bpf pstore binfmt_misc fusectl mqueue devpts
  >   do mkdir $fs && mount -t $fs none $fs 2>/dev/null; done; bentro /s /l "*" >../out; umount -q *; rmdir *'
  $ grep -e proc -e sysfs ../out | grep kernel; grep -c '^\./[a-z0-9_]*/' ../out
  Directory './proc' is on a kernel file system; not entered
  Directory './sysfs' is on a kernel file system; not entered
  0
  [1]

Standard output closed, no null device: nothing done.

  $ wal a.wal; touch ../null; private_mounts 'mount --bind ../null /dev/null &&
  >   mount -o remount,bind,ro /dev/null && bentro a.wal >&-; status=$?; umount /dev/null; exit $status'
  Could not write to standard output
  [2]
  $ field a.wal; rm a.wal
  OLD-----------------------------

As nobody:

  $ wal ro.wal; chmod 444 ro.wal; wal secret.wal; wal Base/ok.wal; mkdir Base/locked
  $ chown -R nobody . && chmod 755 "$CRAMTMP" && chmod 000 Base/locked secret.wal
  $ mkdir "$CRAMTMP/tool" "$CRAMTMP/wrapper"; cp "$BENTRO_BINARY" "$CRAMTMP/tool"; cp "$TESTDIR/bentro" "$CRAMTMP/wrapper"
  $ as_nobody() { TMPDIR=/tmp PATH="$CRAMTMP/wrapper:$PATH" BENTRO_BINARY="$CRAMTMP/tool/${BENTRO_BINARY##*/}" \
  >   setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  $ as_nobody bentro /s "*.wal"; as_nobody bentro /l /q /s "*.wal"
  ./ro.wal
  Could not open './ro.wal' for writing
  ./secret.wal
  Could not open file './secret.wal' for reading.
  ./Base/ok.wal
  Could not list directory './Base/locked'
  ./ro.wal
  Name field would change from 'OLD' to 'ro'
  ./secret.wal
  Could not open file './secret.wal' for reading.
  Could not list directory './Base/locked'
  [2]
  $ chmod 000 . && as_nobody bentro "*.wal"
  Could not list directory '.'
  [2]
  $ chmod 755 .; echo $(field ro.wal) $(field Base/ok.wal)
  OLD----------------------------- base/ok-------------------------
