#!/usr/bin/env bash
# Starts the program with the README's start command on a virtual X server
# and saves a picture of its splash (default: docs/splash.png) and then of
# its main window (default: docs/main-window.png).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
splash="${2:-docs/splash.png}"
mkdir -p "$(dirname "$out")" "$(dirname "$splash")"

xvfb-run -a -s "-screen 0 900x700x24" bash -c '
  set -euo pipefail
  out="$1"
  splash="$2"
  bash scripts/run.sh >/dev/null &
  app=$!
  # run.sh builds first and then becomes the program; wait for that.
  for _ in $(seq 1 1800); do
    case "$(readlink "/proc/$app/exe" 2>/dev/null || true)" in
      */SonvarroConverter) break ;;
    esac
    kill -0 "$app" 2>/dev/null || { echo "the program did not start" >&2; exit 1; }
    sleep 1
  done
  # The screen around a window is black: the window is what trimming leaves.
  # That screen is painted a desktop blue, so that the outline shows, and the
  # picture keeps a margin of it.
  shoot() {
    import -window root "$1.full.png"
    local box
    box="$(convert "$1.full.png" -trim -format "%wx%h%O" info:)"
    convert "$1.full.png" -fill "#4d6580" -draw "color 0,0 floodfill" -crop "$box" +repage \
      -bordercolor "#4d6580" -border 12 "$1"
    rm -f "$1.full.png"
  }
  sleep 1  # the splash is up for two seconds
  shoot "$splash"
  sleep 3  # the splash has closed, the main window maps and paints
  shoot "$out"
  kill "$app"
  wait "$app" 2>/dev/null || true
' _ "$out" "$splash"
echo "saved $splash and $out"
