#!/usr/bin/env bash
# A virtual desktop for trying the program as a user would: an X server
# (Xvfb) with a window manager (openbox) on display :${DISPLAY_NUMBER:-7}.
#   bash scripts/desktop.sh start   # then: DISPLAY=:7 build/main/app/SonvarroConverter &
#   DISPLAY=:7 xdotool search --name "Sonvarro Converter" ...; DISPLAY=:7 import -window root shot.png
#   bash scripts/desktop.sh stop
# DESKTOP_SCREEN sets the screen (1024x768x24 by default; a larger one for the
# program at 200 %, QT_SCALE_FACTOR=2).
set -euo pipefail
cd "$(dirname "$0")/.."
number="${DISPLAY_NUMBER:-7}"
state="/tmp/sonvarro-desktop-$number"

case "${1:-}" in
  start)
    bash scripts/install-deps.sh
    mkdir -p "$state"
    Xvfb ":$number" -screen 0 "${DESKTOP_SCREEN:-1024x768x24}" -nolisten tcp >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 1 50); do
      DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    DISPLAY=":$number" openbox >"$state/openbox.log" 2>&1 &
    echo $! >"$state/openbox.pid"
    sleep 0.5
    echo "DISPLAY=:$number"
    ;;
  stop)
    for name in openbox xvfb; do
      [ -f "$state/$name.pid" ] && kill "$(cat "$state/$name.pid")" 2>/dev/null || true
      rm -f "$state/$name.pid"
    done
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
