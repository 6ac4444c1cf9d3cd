#!/usr/bin/env bash
# The program natively on a Wayland compositor: starts Weston headless (its
# own socket, its own runtime folder, a screen of 200 %), runs the program's
# windows there with QT_QPA_PLATFORM=wayland and drives them from inside
# (tests/ui/wayland_check.cpp: the splash, the open dialog, the preview, a
# conversion, minimising), checking what the compositor shows through its
# screenshots, which are left in BUILD/wayland-shots/.
#   bash scripts/wayland-check.sh [BUILD]     # BUILD: build/main by default
# SONVARRO_WAYLAND_SCALE sets the screen's scale (1 or 2).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/main}"
scale="${SONVARRO_WAYLAND_SCALE:-2}"

bash scripts/install-deps.sh
cmake --build "$build" --target wayland_check SonvarroConverter >/dev/null

runtime="$(mktemp -d /tmp/sonvarro-wayland.XXXXXX)"
chmod 700 "$runtime"
home="$runtime/home"
shots="$PWD/$build/wayland-shots"
mkdir -p "$home" "$shots"
rm -f "$shots"/*.png
socket="sonvarro-wayland-$$"
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

# The pixman renderer draws into memory, so screenshots show the windows
# (headless Weston draws nothing by default); --debug lets the screenshot
# client take them.
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman --socket="$socket" \
  --width=1400 --height=1000 --scale="$scale" --no-config --idle-time=0 --debug >"$shots/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || { cat "$shots/weston.log"; exit 1; }
  sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "Weston did not start"; cat "$shots/weston.log"; exit 1; }

# Headless Weston has no seat: Qt's Wayland text input would look for the
# keyboard of one as soon as a text field draws its cursor, so the check runs
# without an input method.
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland QT_IM_MODULE=none HOME="$home" \
  SONVARRO_APP_DIR="$PWD/$build/app" SONVARRO_SHOT_DIR="$shots" \
  "$build/tests/wayland_check"
echo "The program ran on Wayland; screenshots in $shots."
