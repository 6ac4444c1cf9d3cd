#!/usr/bin/env bash
# Runs a program on an X server of its own, on the xcb platform: an Xvfb on
# whatever display is free, stopped when the program ends. For the window
# tests that must see what an X server does with a window.
#   bash tests/helpers/on-x-server.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
work="$(mktemp -d /tmp/sonvarro-x-server.XXXXXX)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes the display it took to the descriptor it is given, once it answers.
exec 3>"$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 3200x1200x24 >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 200); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb "$@"
