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
