"""What setup.sh's helpers need from Python, one job each:
  helper.py shrink              the pipe on descriptor 3 holds one page
  helper.py start COMMAND...    runs COMMAND, with its pid in $held.pid and
                                how it ended in $held.end
  helper.py full                waits until $held.pid sleeps until the pipe on
                                descriptor 4 has room
  helper.py opened FOLDER COMMAND...
                                runs COMMAND, then names the entries of
                                FOLDER that inotify saw opened
  helper.py deny-reads FILE COMMAND...
                                runs COMMAND while every read of FILE fails
                                (fanotify; root only)
  helper.py stalled-terminal COMMAND...
                                runs COMMAND on a terminal that nobody reads
                                until COMMAND waits on it, stops it with two
                                SIGTERMs, then reads the terminal
  helper.py fuse-tree FOLDER SHELL-COMMAND
                                mounts a small FUSE tree on FOLDER (below;
                                root only) and runs SHELL-COMMAND in it"""
import ctypes
import errno
import fcntl
import os
import pty
import signal
import struct
import subprocess
import sys
import termios
import threading
import time

HELD = os.environ.get("held", "")
IN_OPEN = 0x20
FAN_CLASS_CONTENT, FAN_MARK_ADD, FAN_ACCESS_PERM, FAN_DENY = 0x04, 0x01, 0x20000, 0x02
AT_FDCWD = -100


def shrink():
    fcntl.fcntl(3, fcntl.F_SETPIPE_SZ, 4096)


def how_it_ended(code):
    return f"killed by {signal.Signals(-code).name}" if code < 0 else f"status {code}"


def start(*command):
    tool = subprocess.Popen(command)
    with open(HELD + ".new", "w") as pid:
        pid.write(f"{tool.pid}\n")
    os.rename(HELD + ".new", HELD + ".pid")  # whole once it is there
    code = tool.wait()
    with open(HELD + ".new", "w") as end:
        end.write(how_it_ended(code) + "\n")
    os.rename(HELD + ".new", HELD + ".end")  # a reader that sees it finds it whole


def waits_to_write(pid_file):
    """Whether the process named in pid_file sleeps until a pipe has room;
    False before it is named."""
    try:
        with open(pid_file) as pid, open(f"/proc/{pid.read().strip()}/wchan") as wchan:
            return wchan.read().endswith("pipe_write")  # anon_pipe_write since 6.16
    except FileNotFoundError:
        return False


def queued_bytes(descriptor):
    return int.from_bytes(fcntl.ioctl(descriptor, termios.FIONREAD, bytes(4)), sys.byteorder)


def full():
    for _ in range(6000):
        if os.path.exists(HELD + ".end"):
            sys.exit("the tool ended before the pipe filled")
        # The tool writes whole lines, so a pipe it waits on may have a few
        # bytes free.
        if waits_to_write(HELD + ".pid") and queued_bytes(4) > 0:
            return
        time.sleep(0.01)
    sys.exit("the pipe never filled")


def stalled_terminal(*command):
    terminal, side = pty.openpty()
    tool = subprocess.Popen(command, stdout=side)
    os.close(side)
    for _ in range(6000):
        with open(f"/proc/{tool.pid}/wchan") as wchan:
            if wchan.read() == "wait_woken":  # a write to the terminal waits for room
                break
        time.sleep(0.01)
    for _ in range(2):
        tool.send_signal(signal.SIGTERM)
        time.sleep(0.1)
    shown = b""
    os.set_blocking(terminal, False)
    while tool.poll() is None:
        try:
            shown += os.read(terminal, 1 << 16)
        except BlockingIOError:
            time.sleep(0.01)
    os.set_blocking(terminal, True)
    try:
        while chunk := os.read(terminal, 1 << 16):
            shown += chunk
    except OSError:  # EIO: read to the end of what the tool wrote
        pass
    print("whole lines" if shown.endswith(b"\r\n") else f"cut: {shown[-20:]}")
    print(how_it_ended(tool.wait()))


def inotify_names(events):
    """The names in a buffer of inotify events."""
    names = set()
    while events:
        length = int.from_bytes(events[12:16], sys.byteorder)
        names.add(events[16:16 + length].rstrip(b"\0").decode())
        events = events[16 + length:]
    return names - {""}


def opened(folder, *command):
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init1(os.O_NONBLOCK)
    if libc.inotify_add_watch(watch, folder.encode(), IN_OPEN) < 0:
        sys.exit("inotify: " + os.strerror(ctypes.get_errno()))
    status = subprocess.call(command)
    print("opened:", *sorted(inotify_names(os.read(watch, 1 << 20))))
    sys.exit(status)


def deny_every_access(fanotify):
    """Answers each access event with a denial, for as long as the process runs."""
    while True:
        event = os.read(fanotify, 24)  # struct fanotify_event_metadata
        descriptor = int.from_bytes(event[16:20], sys.byteorder, signed=True)
        os.write(fanotify, descriptor.to_bytes(4, sys.byteorder, signed=True) +
                 FAN_DENY.to_bytes(4, sys.byteorder))
        os.close(descriptor)


def deny_reads(file, *command):
    libc = ctypes.CDLL(None, use_errno=True)
    fanotify = libc.fanotify_init(FAN_CLASS_CONTENT, os.O_RDONLY)
    if fanotify < 0 or libc.fanotify_mark(fanotify, FAN_MARK_ADD, ctypes.c_uint64(FAN_ACCESS_PERM),
                                          AT_FDCWD, file.encode()) < 0:
        sys.exit("fanotify: " + os.strerror(ctypes.get_errno()))
    threading.Thread(target=deny_every_access, args=(fanotify,), daemon=True).start()
    sys.exit(subprocess.call(command))


# A small FUSE tree: the root (node 1) holds "a.wal" and "b.wal" (nodes 2 and
# 4: 64 bytes each, and every close of them reports an I/O error, as a network
# file system may), "broken" (node 5: a folder whose listing fails after four
# entries) and ".endless" (node 3: a folder whose listing never ends).
# Requests to it wait for this server, so the tool's ring has them in flight.
ROOT, A, ENDLESS, B, BROKEN = 1, 2, 3, 4, 5
DT_DIR, DT_REG = 4, 8
ROOT_ENTRIES = [(b"a.wal", A, DT_REG), (b"b.wal", B, DT_REG), (b"broken", BROKEN, DT_DIR),
                (b".endless", ENDLESS, DT_DIR)]


def fuse_attributes(node):
    """The struct fuse_attr of a node."""
    mode, size = (0o100644, 64) if node in (A, B) else (0o40755, 0)
    return struct.pack("<6Q10I", node, size, 0, 0, 0, 0, 0, 0, 0, mode, 1, 0, 0, 0, 4096, 0)


def fuse_listing(node, offset, size):
    """The entries of a folder from `offset` on, as many as fit in `size` bytes."""
    entries = b""
    while node == ENDLESS or offset < len(ROOT_ENTRIES):
        name, inode, kind = ROOT_ENTRIES[offset] if node == ROOT else (b"x%d.wal" % offset, 9, DT_REG)
        offset += 1
        entry = struct.pack("<QQII", inode, offset, len(name), kind) + name
        entry += bytes(-len(entry) % 8)
        if len(entries) + len(entry) > size:
            break
        entries += entry
    return entries


def fuse_answer(opcode, node, body):
    """The payload answering one request, or an errno (negative) to fail it."""
    if opcode == 26:  # INIT: protocol 7.19
        return struct.pack("<IIIIHHI", 7, 19, 0, 0, 0, 0, 4096)
    if opcode == 1:  # LOOKUP
        found = [inode for name, inode, _ in ROOT_ENTRIES if name == body.rstrip(b"\0")]
        if node != ROOT or not found:
            return -errno.ENOENT
        return struct.pack("<4Q2I", found[0], 0, 0, 0, 0, 0) + fuse_attributes(found[0])
    if opcode == 3:  # GETATTR
        return bytes(16) + fuse_attributes(node)
    if opcode in (14, 27):  # OPEN, OPENDIR
        return bytes(16)
    if opcode in (15, 28):  # READ, READDIR
        offset, size = struct.unpack_from("<QI", body, 8)
        if opcode == 28 and node == BROKEN and offset > 0:
            return -errno.EIO
        return bytes(max(0, min(size, 64 - offset))) if opcode == 15 else fuse_listing(
            node, offset, size)
    if opcode == 16:  # WRITE: all of it
        return struct.pack("<II", struct.unpack_from("<I", body, 16)[0], 0)
    if opcode == 25:  # FLUSH, the close's own request
        return -errno.EIO
    if opcode == 17:  # STATFS
        return bytes(80)
    return b"" if opcode in (18, 29) else -errno.ENOSYS  # RELEASE, RELEASEDIR


def serve_fuse_tree(fuse):
    while True:
        try:
            request = os.read(fuse, 1 << 17)
        except OSError:  # unmounted
            return
        _, opcode, unique, node = struct.unpack_from("<IIQQ", request)
        if opcode in (2, 42):  # FORGET and BATCH_FORGET take no answer
            continue
        answer = fuse_answer(opcode, node, request[40:])
        error, payload = (answer, b"") if isinstance(answer, int) else (0, answer)
        try:
            os.write(fuse, struct.pack("<IiQ", 16 + len(payload), error, unique) + payload)
        except FileNotFoundError:
            pass  # the kernel waits no more: the tree was unmounted meanwhile


def fuse_tree(folder, command):
    fuse = os.open("/dev/fuse", os.O_RDWR)
    options = b"fd=%d,rootmode=40000,user_id=0,group_id=0" % fuse
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.mount(b"bentro", folder.encode(), b"fuse", 0, options) < 0:
        sys.exit("mount: " + os.strerror(ctypes.get_errno()))
    # A process of its own: a thread would wait for the interpreter's lock
    # that the command's start holds while it enters the folder.
    server = os.fork()
    if server == 0:
        serve_fuse_tree(fuse)
        os._exit(0)
    os.close(fuse)
    status = subprocess.call(["sh", "-c", command], cwd=folder)
    libc.umount2(folder.encode(), 2)  # MNT_DETACH: the server reads no more
    os.waitpid(server, 0)
    sys.exit(status)


JOBS = {"shrink": shrink, "start": start, "full": full, "opened": opened,
        "deny-reads": deny_reads, "stalled-terminal": stalled_terminal, "fuse-tree": fuse_tree}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in JOBS:
        sys.exit(__doc__)
    JOBS[sys.argv[1]](*sys.argv[2:])
