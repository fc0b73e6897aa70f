"""What setup.sh's helpers need from Python. helper.py shrink: the pipe on
descriptor 3 holds one page. helper.py start COMMAND...: runs COMMAND, with
its pid in $held.pid and how it ended in $held.end. helper.py full: waits
until the pipe on descriptor 4 is full and $held.pid sleeps on it. helper.py
opened FOLDER COMMAND...: runs COMMAND, then names the entries of FOLDER
that inotify saw opened."""
import ctypes, fcntl, os, signal, subprocess, sys, termios, time

what, args, held = sys.argv[1], sys.argv[2:], os.environ.get("held", "")
if what == "shrink":
    fcntl.fcntl(3, 1031, 4096)  # F_SETPIPE_SZ
elif what == "start":
    tool = subprocess.Popen(args)
    with open(held + ".new", "w") as pid:
        pid.write(f"{tool.pid}\n")
    os.rename(held + ".new", held + ".pid")  # whole once it is there
    code = tool.wait()
    with open(held + ".end", "w") as end:
        end.write(f"killed by {signal.Signals(-code).name}\n" if code < 0 else f"status {code}\n")
elif what == "full":
    for _ in range(6000):
        if os.path.exists(held + ".end"):
            sys.exit("the tool ended before the pipe filled")
        try:
            with open(held + ".pid") as pid, open(f"/proc/{pid.read().strip()}/stat") as stat:
                sleeping = stat.read().rsplit(")", 1)[1].split()[0] == "S"
        except FileNotFoundError:
            sleeping = False
        queued = int.from_bytes(fcntl.ioctl(4, termios.FIONREAD, bytes(4)), sys.byteorder)
        if sleeping and queued >= fcntl.fcntl(4, 1032):  # F_GETPIPE_SZ
            sys.exit(0)
        time.sleep(0.01)
    sys.exit("the pipe never filled")
elif what == "opened":
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init1(os.O_NONBLOCK)
    if libc.inotify_add_watch(watch, args[0].encode(), 0x20) < 0:  # IN_OPEN
        sys.exit("inotify: " + os.strerror(ctypes.get_errno()))
    status = subprocess.call(args[1:])
    events, names = os.read(watch, 1 << 20), set()
    while events:
        length = int.from_bytes(events[12:16], sys.byteorder)
        names.add(events[16:16 + length].rstrip(b"\0").decode())
        events = events[16 + length:]
    print("opened:", *sorted(name for name in names if name))
    sys.exit(status)
