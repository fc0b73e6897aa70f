#!/bin/sh
# Runs the end-to-end suite against the 32-bit bentro.exe under Wine, with
# the Linux test binary driving it. Needs the windows-32 and default builds,
# and wine with wine32. Usage: tests/wine.sh
set -eu
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/wine32" WINEARCH=win32 WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# One prefix and one wineserver for the whole run: each start of the tool then
# costs milliseconds instead of seconds.
wineserver --persistent
trap 'wineserver --kill; rm -rf "$scratch"' EXIT
wineboot --init >/dev/null 2>&1
BENTRO_TARGET=windows BENTRO_RUNNER=wine BENTRO_BINARY="$PWD/build/windows-32/bentro.exe" \
  build/default/bentro_tests --gtest_filter='EndToEnd.*:Stress.*' --gtest_brief=1
