# Sourced at the top of every transcript: the tool on the PATH (the wrapper
# beside this file) and helpers that make and show .wal files.
PATH="$TESTDIR:$PATH"

# The bytes after every name field: all 256 values, CR and LF among them.
[ -f "$CRAMTMP/tail" ] || printf "$(printf '\\%03o' $(seq 0 255))" >"$CRAMTMP/tail"

# wal FILE [FIELD]: a .wal file whose name field holds FIELD (printf escapes
# allowed; OLD if not given) padded with zero bytes, followed by the tail.
wal() {
  case $1 in */*) mkdir -p -- "${1%/*}" ;; esac
  { printf "${2-OLD}"; head -c 32 /dev/zero; } | head -c 32 >"$1"
  cat "$CRAMTMP/tail" >>"$1"
}

# field FILE: its name field, zero bytes shown as "-".
field() { head -c 32 "$1" | tr '\0' -; echo; }

# fields: each .wal file below here with its name field, and a note when the
# bytes after the field are not the tail any more.
fields() {
  find . -iname '*.wal' -type f | sort | while read -r file; do
    printf '%s %s\n' "$file" "$(field "$file")"
    [ "$(wc -c <"$file")" -le 32 ] || tail -c +33 "$file" | cmp -s - "$CRAMTMP/tail" ||
      echo "  the bytes after the field changed"
  done
}

# many FOLDER COUNT: COUNT .wal files of 32 bytes in FOLDER, made without
# starting a process per file.
many() {
  mkdir -p "$1"
  i=0
  while [ $i -lt "$2" ]; do
    i=$((i + 1))
    printf 'OLD\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >"$1/$i.wal"
  done
}

# until_waiting PID: returns once the process waits to open a FIFO until the
# other end is opened; fails after a minute.
until_waiting() {
  for i in $(seq 6000); do
    case $(cat /proc/$1/wchan) in wait_for_partner | fifo_open) return 0 ;; esac
    sleep 0.01
  done
  echo "process $1 never waited on a FIFO" >&2
  return 1
}

# hold ARGUMENT...: starts the tool, as $held_tool, with its output in a
# pipe of one page that nobody reads, and returns once the tool sleeps on
# that pipe, full. release: reads the pipe to its end, then shows how the
# tool ended. A starter of its own holds the tool, so that no shell reaps it
# before its ending is known.
hold() {
  held="$CRAMTMP/held"
  rm -f "$held" "$held.pid" "$held.end"
  mkfifo "$held"
  exec 3<>"$held"  # opens at once and keeps the pipe while it shrinks
  held_pipe shrink
  held_pipe start bentro "$@" >"$held" &
  held_starter=$!
  exec 4<"$held" 3<&-
  held_pipe full && held_tool=$(cat "$held.pid")
}
release() {
  cat <&4
  exec 4<&-
  wait $held_starter
  cat "$held.end"
}
held_pipe() {
  held="$CRAMTMP/held" python3 - "$@" <<'END'
import fcntl, os, signal, subprocess, sys, termios, time
held, what = os.environ["held"], sys.argv[1]
F_SETPIPE_SZ, F_GETPIPE_SZ = 1031, 1032
if what == "shrink":
    sys.exit(fcntl.fcntl(3, F_SETPIPE_SZ, 4096) < 0)
if what == "start":
    tool = subprocess.Popen(sys.argv[2:])
    with open(held + ".new", "w") as pid:
        pid.write(f"{tool.pid}\n")
    os.rename(held + ".new", held + ".pid")  # whole when it is there
    code = tool.wait()
    with open(held + ".end", "w") as end:
        end.write(f"killed by {signal.Signals(-code).name}\n" if code < 0 else f"status {code}\n")
    sys.exit(0)
for _ in range(6000):  # what == "full"
    if os.path.exists(held + ".end"):
        sys.exit("the tool ended before the pipe filled")
    try:
        with open(held + ".pid") as pid, open(f"/proc/{pid.read().strip()}/stat") as stat:
            sleeping = stat.read().rsplit(")", 1)[1].split()[0] == "S"
    except FileNotFoundError:
        sleeping = False
    queued = int.from_bytes(fcntl.ioctl(4, termios.FIONREAD, bytes(4)), sys.byteorder)
    if sleeping and queued >= fcntl.fcntl(4, F_GETPIPE_SZ):
        sys.exit(0)
    time.sleep(0.01)
sys.exit("the pipe never filled")
END
}

# opened FOLDER COMMAND...: runs COMMAND, then names each entry of FOLDER
# that was opened while it ran, as the kernel's inotify reports it.
opened() {
  python3 - "$@" <<'END'
import ctypes, os, subprocess, sys
IN_OPEN = 0x20
libc = ctypes.CDLL(None, use_errno=True)
watch = libc.inotify_init1(os.O_NONBLOCK)
if watch < 0 or libc.inotify_add_watch(watch, sys.argv[1].encode(), IN_OPEN) < 0:
    sys.exit("inotify: " + os.strerror(ctypes.get_errno()))
status = subprocess.call(sys.argv[2:])
try:
    events = os.read(watch, 1 << 20)
except BlockingIOError:
    events = b""
names, at = set(), 0
while at < len(events):
    length = int.from_bytes(events[at + 12:at + 16], sys.byteorder)
    names.add(events[at + 16:at + 16 + length].rstrip(b"\0").decode())
    at += 16 + length
print("opened:", " ".join(sorted(name for name in names if name)))
sys.exit(status)
END
}

# private_mounts COMMAND: runs the shell command COMMAND in a mount namespace
# of its own, so that what it mounts goes with it, however it ends. In a
# chroot, whose / is no mount point that could be made private, the
# namespace keeps the propagation it was given: COMMAND unmounts what it
# mounted as well.
private_mounts() {
  if unshare -m true 2>/dev/null; then
    unshare -m sh -c "$1"
  else
    unshare -m --propagation unchanged sh -c "$1"
  fi
}
