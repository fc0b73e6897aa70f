#!/bin/sh
# Makes a small tree of .wal files in a temporary folder, runs the tool on it
# and shows every name field before and after. Usage: demo.sh path/to/bentro
set -eu
bentro=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"

# A .wal file: a 32-byte name field, then some bytes the tool must keep.
make_wal() {
  mkdir -p "$(dirname "$1")"
  { printf '%s' "$2"; head -c $((32 - ${#2})) /dev/zero; printf 'PIXELS\r\n\001\002'; } > "$1"
}
show_fields() {
  find . -iname '*.wal' -type f | sort | while read -r file; do
    printf '  %-26s %s\n' "$file" "'$(head -c 32 "$file" | tr '\0' '\n' | head -n 1)'"
  done
}

make_wal Base/Wall1.WAL 'TEXTURES\OLD\WALL1'
make_wal Base/Inner/Floor.wal 'floor'
make_wal Sky/Sky.Old.wal 'SKY'
make_wal Top.wal 'Something Else'
make_wal .hidden/Skipped.wal 'NOT VISITED'

echo "Name fields before:"
show_fields
echo
echo "\$ bentro /s \"*.wal\""
status=0
"$bentro" /s "*.wal" || status=$?
echo "(exit status $status)"
echo
echo "Name fields after:"
show_fields
