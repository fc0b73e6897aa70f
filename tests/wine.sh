#!/bin/sh
# Runs the transcripts against bentro.exe under Wine: the 32-bit build in a
# win32 prefix where this host can start 32-bit programs, otherwise the 64-bit
# build in a win64 prefix. Needs the windows-32 or windows-64 build and Wine
# (Debian: wine wine32:i386 wine64). Usage: tests/wine.sh
set -eu
cd "$(dirname "$0")/.."
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  loader=/usr/lib/wine/wine arch=win32 exe=build/windows-32/bentro.exe
elif /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  loader=/usr/lib/wine/wine64 arch=win64 exe=build/windows-64/bentro.exe
else
  echo "wine.sh: this host starts neither wine nor wine64" >&2
  exit 1
fi
echo "wine.sh: testing $exe under $loader in a $arch prefix"
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEARCH=$arch WINELOADER=$loader WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# One prefix and one wineserver for the whole run: each start of the tool then
# costs a tenth of a second instead of seconds.
wineserver --persistent
trap 'wineserver --kill; rm -rf "$scratch"' EXIT
"$loader" wineboot --init >/dev/null 2>&1
export BENTRO_TARGET=windows BENTRO_RUNNER=$loader BENTRO_BINARY="$PWD/$exe"
failed=0
for transcript in tests/transcripts/*.t; do
  python3 tests/transcript.py "$transcript" || [ $? = 80 ] || failed=$((failed + 1))
done
echo "wine.sh: $failed transcripts failed"
[ $failed = 0 ]
