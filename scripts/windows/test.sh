#!/usr/bin/env bash
# The Windows part of the test command: the libraries cross-built from
# Debian's source packages (once per machine), everything below the Qt skin
# cross-built with mingw-w64, and its tests run under Wine. Prints how long
# each step took.
#   bash scripts/windows/test.sh [build folder, default build/windows]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build/windows}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
jobs=$(nproc)
started=$SECONDS
took() { echo "windows: $1 took $(($SECONDS - $2)) s"; }

step=$SECONDS
prefix="$(bash scripts/windows/libraries.sh "$build")"
took "the libraries" "$step"

step=$SECONDS
cmake -S . -B "$build/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64.cmake" -DSONVARRO_WINDOWS_DEPS="$prefix" >/dev/null
cmake --build "$build/build" -j "$jobs" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
took "building for Windows" "$step"

step=$SECONDS
export SONVARRO_WINEPREFIX="$build/wine"
# One Wine server for all the tests: started anew for each program it would
# cost seconds every time. The first program on a server starts Wine's own
# services, which keep the standard output they were given open as long as
# the server runs: that one is given none, or ctest would wait on the pipe
# of whichever test came first.
scripts/windows/wine.sh cmd.exe /c exit </dev/null >/dev/null 2>&1
WINEPREFIX="$SONVARRO_WINEPREFIX" /usr/lib/wine/wineserver -w
WINEPREFIX="$SONVARRO_WINEPREFIX" /usr/lib/wine/wineserver -p
trap 'WINEPREFIX="$SONVARRO_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
scripts/windows/wine.sh cmd.exe /c exit </dev/null >/dev/null 2>&1
(cd "$build/build" && ctest --output-on-failure -j "$jobs")
took "the tests under Wine" "$step"
took "the Windows part" "$started"
