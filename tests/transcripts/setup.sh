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

# many FOLDER COUNT: COUNT .wal files of 32 bytes, without a process each.
many() {
  mkdir -p "$1"; i=0
  while [ $((i += 1)) -le "$2" ]; do printf 'OLD\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >"$1/$i.wal"; done
}

# until_waiting PID: returns once PID waits for the other end of a FIFO.
until_waiting() {
  for i in $(seq 6000); do grep -qx 'wait_for_partner\|fifo_open' /proc/$1/wchan && return; sleep 0.01; done
  return 1
}

# hold ARGUMENT...: starts the tool ($held_tool) with its output in a pipe of
# one page that nobody reads, and returns once it sleeps on that pipe, full.
# release: reads the pipe to its end and shows how the tool ended. A starter
# holds the tool, so that no shell reaps it before its ending is known.
helper() { held="$CRAMTMP/held" python3 "$TESTDIR/helper.py" "$@"; }
hold() {
  held="$CRAMTMP/held"; rm -f "$held" "$held.pid" "$held.end"; mkfifo "$held"
  exec 3<>"$held"  # opens at once and keeps the pipe while it shrinks
  helper shrink; helper start bentro "$@" >"$held" & held_starter=$!
  exec 4<"$held" 3<&-
  helper full && held_tool=$(cat "$held.pid")
}
release() { cat <&4; exec 4<&-; wait $held_starter; cat "$held.end"; }

# private_mounts COMMAND: runs COMMAND, with these helpers, in a mount
# namespace of its own, whose mounts go with it. A chroot's / cannot be made
# private: there the namespace keeps the propagation it was given, and
# COMMAND unmounts what it mounted.
private_mounts() {
  propagation=; unshare -m true 2>/dev/null || propagation="--propagation unchanged"
  unshare -m $propagation sh -c ". \"\$TESTDIR/setup.sh\"; $1"
}
