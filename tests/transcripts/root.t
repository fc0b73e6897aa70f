  $ [ "$BENTRO_TARGET" != windows ] && [ "$(id -u)" = 0 ] && command -v strace >/dev/null || exit 80
  $ . "$TESTDIR/setup.sh"

A file bound from a kernel file system is neither read nor written (with
/l, so that a fault writes nothing there), nor one whose file system cannot
be told (its fstatfs failed); a read that fails; a device node.

  $ wal short.wal; private_mounts 'mount --bind /sys/kernel/uevent_seqnum short.wal &&
  >   bentro /l short.wal; status=$?; umount short.wal; exit $status'
  ./short.wal
  File './short.wal' is on a kernel file system; file left unchanged
  [2]
  $ private_mounts 'mount --bind /sys/kernel/uevent_seqnum short.wal && BENTRO_RUNNER= ASAN_OPTIONS=detect_leaks=0 taskset -c 0 strace -f -qq -o /dev/null \
  >   -e inject=fstatfs:error=EIO:when=2+ bentro /l short.wal; status=$?; umount short.wal; exit $status'
  ./short.wal
  Could not open file './short.wal' for reading.
  [2]
  $ helper deny-reads short.wal bentro short.wal
  ./short.wal
  Could not read from './short.wal' properly.
  [2]
  $ rm short.wal; wal ok.wal; mknod null.wal c 1 3; helper opened . bentro "*.wal"
  ./null.wal
  Could not open file './null.wal' for reading.
  ./ok.wal
  opened: ok.wal
  [2]
Folders on the kernel's own file systems are not entered (with /l, so that a
fault writes nothing there): each of those this host can mount.

  $ rm ./*; export kernel_file_systems="proc sysfs debugfs tracefs securityfs cgroup cgroup2 configfs efivarfs bpf
  >   pstore selinuxfs smackfs apparmorfs binfmt_misc fusectl resctrl mqueue devpts rpc_pipefs nfsd"
  $ private_mounts 'for fs in $kernel_file_systems; do
  >   case $fs in cgroup) options=none,name=walk ;; *) options=defaults ;; esac
  >   mkdir $fs && mount -t $fs -o $options none $fs 2>/dev/null || rmdir $fs; done
  >   ls >../mounted; bentro /s /l "*" >../out; echo "status $?"; umount -q *; rmdir *'
  status 2
  $ mkdir s; private_mounts 'mount -t sysfs none s && BENTRO_RUNNER= ASAN_OPTIONS=detect_leaks=0 taskset -c 0 strace -f -qq -o /dev/null \
  >   -e inject=fstatfs:error=EIO:when=2+ bentro /s /l "*.wal"; status=$?; umount s; exit $status'
  Could not list directory './s'
  No file matches '*.wal'
  [2]
  $ rmdir s; sed -n "s|^Directory './\(.*\)' is on a kernel file system; not entered$|\1|p" ../out | diff - ../mounted && echo each not entered
  each not entered
  $ grep -c '^\./[a-z0-9_]*/' ../out
  0
  [1]

A listing that fails partway: the entries read before the failure are not
visited, nor taken for those of the next folder.

  $ mkdir -p big other; (cd big && mkdir d$(seq -s ' d' 2000)); wal other/x.wal
  $ BENTRO_RUNNER= ASAN_OPTIONS=detect_leaks=0 taskset -c 0 strace -f -qq -o /dev/null \
  >   -e inject=getdents64:error=EIO:when=4 bentro /s "*.wal"
  Could not list directory './big'
  ./other/x.wal
  [2]
  $ rm -r big other

A file system that lists no entry types (ext2 without them): each entry is
looked at before it is opened.

  $ mkdir -p tree/sub; wal tree/a.wal; wal tree/sub/b.wal; ln -s a.wal tree/link.wal; mkfifo tree/fifo.wal
  $ mkfs.ext2 -q -O ^filetype -d tree ext2.img 1M >/dev/null; mkdir ext2
  $ private_mounts 'mount -o loop ext2.img ext2 && cd ext2 && bentro /s "*.wal"; status=$?
  >   field a.wal; field sub/b.wal; cd ..; umount ext2; exit $status'
  ./a.wal
  ./fifo.wal
  Could not open file './fifo.wal' for reading.
  ./link.wal
  Could not open file './link.wal' for reading.
  ./sub/b.wal
  a-------------------------------
  sub/b---------------------------
  [2]

A folder reached again through a bind mount is not entered again: the start
folder bound inside the tree, a folder bound beside itself, and six folders
each holding the whole tree recursively (64 ways in, one walk). A file named
twice with /f, through a bind mount, is visited once.

  $ rm -r ./*; wal x.wal; wal a/y.wal; mkdir a/loop b c c/a
  $ private_mounts 'mount --bind . a/loop && mount --bind a c/a && bentro /s "*.wal"; status=$?
  >   umount c/a a/loop; exit $status'
  ./x.wal
  ./a/y.wal
  Directory './a/loop' is the same as '.'; not entered
  Directory './c/a' is the same as './a'; not entered
  [2]
  $ private_mounts 'mount --bind a c/a && bentro /l /f c/a/y.wal a/y.wal x.wal; status=$?; umount c/a; exit $status'
  ./c/a/y.wal
  Name field would change from 'a/y' to 'c/a/y'
  ./x.wal
  [3]
  $ fields
  ./a/y.wal a/y-----------------------------
  ./x.wal x-------------------------------
  $ rm -r a b c; mkdir l1 l2 l3 l4 l5 l6
  $ private_mounts 'for l in l1 l2 l3 l4 l5 l6; do mount --rbind . $l; done; bentro /s /l "*.wal"; status=$?
  >   umount -R l6 l5 l4 l3 l2 l1; exit $status'
  ./x.wal
  Directory './l1' is the same as '.'; not entered
  Directory './l2' is the same as '.'; not entered
  Directory './l3' is the same as '.'; not entered
  Directory './l4' is the same as '.'; not entered
  Directory './l5' is the same as '.'; not entered
  Directory './l6' is the same as '.'; not entered
  [2]

On a FUSE file system: closes that fail after the write, as on a network file
system, with the files' requests in flight together, a listing that fails, and
one that never ends, which still heeds SIGTERM (sent after three seconds, so
that even a loaded machine is listing by then).

  $ rm -r ./*; mkdir fuse; private_mounts 'helper fuse-tree fuse "bentro /s \"*.wal\""'
  ./a.wal
  Could not write the file './a.wal' correctly
  ./b.wal
  Could not write the file './b.wal' correctly
  Could not list directory './broken'
  [2]
  $ private_mounts 'helper fuse-tree fuse "cd .endless && timeout --preserve-status -k 5 3 bentro x.wal"'
  [143]

Standard output closed, no null device: nothing done.

  $ rmdir fuse; wal a.wal; touch ../null; private_mounts 'mount --bind ../null /dev/null &&
  >   mount -o remount,bind,ro /dev/null && bentro a.wal >&-; status=$?; umount /dev/null; exit $status'
  Could not write to standard output
  [2]
  $ field a.wal; rm a.wal
  OLD-----------------------------

As nobody:

  $ wal ro.wal; wal ro-right.wal ro-right; chmod 444 ro*.wal; wal secret.wal; wal Base/ok.wal; mkdir Base/locked
  $ chown -R nobody . && chmod 755 "$CRAMTMP" && chmod 000 Base/locked secret.wal
  $ mkdir "$CRAMTMP/tool" "$CRAMTMP/wrapper"; cp "$BENTRO_BINARY" "$TESTDIR/../tsan.supp" "$TESTDIR/../valgrind.supp" "$CRAMTMP/tool"; cp "$TESTDIR/bentro" "$CRAMTMP/wrapper"
  $ chmod -R a+rX "$CRAMTMP/tool" "$CRAMTMP/wrapper"
  $ runner=$(printf '%s' "${BENTRO_RUNNER-}" | sed "s|--suppressions=[^ ]*|--suppressions=$CRAMTMP/tool/valgrind.supp|")
  $ as_nobody() { TMPDIR=/tmp PATH="$CRAMTMP/wrapper:$PATH" BENTRO_BINARY="$CRAMTMP/tool/${BENTRO_BINARY##*/}" \
  >   TSAN_OPTIONS="${TSAN_OPTIONS%%suppressions=*}suppressions=$CRAMTMP/tool/tsan.supp" BENTRO_RUNNER="$runner" \
  >   setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  $ as_nobody bentro /s "*.wal"
  ./ro-right.wal
  Could not open './ro-right.wal' for writing
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

With /c, a read-only file whose field is right is no failure.

  $ as_nobody bentro /c "ro*.wal"
  ./ro-right.wal
  ./ro.wal
  Could not open './ro.wal' for writing
  [2]
  $ chmod 000 . && as_nobody bentro "*.wal"
  Could not list directory '.'
  [2]
  $ chmod 755 .; echo $(field ro.wal) $(field Base/ok.wal)
  OLD----------------------------- base/ok-------------------------

Another's file that nobody may write but not read without changing its
access time: it is opened again as usual, with rings, with one ring and
with the plain calls.

  $ wal theirs.wal; wal theirs-too.wal; chmod 666 theirs*.wal
  $ as_nobody bentro "theirs*.wal"
  ./theirs-too.wal
  ./theirs.wal
  $ wal theirs.wal; wal theirs-too.wal; as_nobody taskset -c 0 bentro "theirs*.wal"
  ./theirs-too.wal
  ./theirs.wal
  $ wal theirs.wal; wal theirs-too.wal; as_nobody env BENTRO_RUNNER= ASAN_OPTIONS=detect_leaks=0 \
  >   strace -f -qq -o /dev/null -e inject=io_uring_setup:error=ENOMEM bentro "theirs*.wal"
  ./theirs-too.wal
  ./theirs.wal
  $ echo $(field theirs.wal) $(field theirs-too.wal); rm theirs*.wal
  theirs-------------------------- theirs-too----------------------
