"""What setup.sh's helpers need from Python, one job each:
  helper.py shrink              the pipe on descriptor 3 holds one page
  helper.py start COMMAND...    runs COMMAND, with its pid in $held.pid and
                                how it ended in $held.end
  helper.py full                waits until the pipe on descriptor 4 is full
                                and $held.pid sleeps on it
  helper.py opened FOLDER COMMAND...
                                runs COMMAND, then names the entries of
                                FOLDER that inotify saw opened"""
import ctypes
import fcntl
import os
import signal
import subprocess
import sys
import termios
import time

HELD = os.environ.get("held", "")
IN_OPEN = 0x20


def shrink():
    fcntl.fcntl(3, fcntl.F_SETPIPE_SZ, 4096)


def start(command):
    tool = subprocess.Popen(command)
    with open(HELD + ".new", "w") as pid:
        pid.write(f"{tool.pid}\n")
    os.rename(HELD + ".new", HELD + ".pid")  # whole once it is there
    code = tool.wait()
    with open(HELD + ".end", "w") as end:
        end.write(f"killed by {signal.Signals(-code).name}\n" if code < 0 else f"status {code}\n")


def is_sleeping(pid_file):
    """Whether the process named in pid_file sleeps; False before it is named."""
    try:
        with open(pid_file) as pid, open(f"/proc/{pid.read().strip()}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "S"
    except FileNotFoundError:
        return False


def queued_bytes(descriptor):
    return int.from_bytes(fcntl.ioctl(descriptor, termios.FIONREAD, bytes(4)), sys.byteorder)


def full():
    for _ in range(6000):
        if os.path.exists(HELD + ".end"):
            sys.exit("the tool ended before the pipe filled")
        if is_sleeping(HELD + ".pid") and queued_bytes(4) >= fcntl.fcntl(4, fcntl.F_GETPIPE_SZ):
            return
        time.sleep(0.01)
    sys.exit("the pipe never filled")


def inotify_names(events):
    """The names in a buffer of inotify events."""
    names = set()
    while events:
        length = int.from_bytes(events[12:16], sys.byteorder)
        names.add(events[16:16 + length].rstrip(b"\0").decode())
        events = events[16 + length:]
    return names - {""}


def opened(folder, command):
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init1(os.O_NONBLOCK)
    if libc.inotify_add_watch(watch, folder.encode(), IN_OPEN) < 0:
        sys.exit("inotify: " + os.strerror(ctypes.get_errno()))
    status = subprocess.call(command)
    print("opened:", *sorted(inotify_names(os.read(watch, 1 << 20))))
    sys.exit(status)


if __name__ == "__main__":
    job, arguments = sys.argv[1], sys.argv[2:]
    if job == "shrink":
        shrink()
    elif job == "start":
        start(arguments)
    elif job == "full":
        full()
    elif job == "opened":
        opened(arguments[0], arguments[1:])
    else:
        sys.exit(__doc__)
