#!/usr/bin/env bash
# Starts the program with the README's start command on a virtual X server
# and saves a picture of its splash (default: docs/splash.png) and then of
# its main window (default: docs/main-window.png). No window manager runs:
# the pictures show the windows' own outlines.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
splash="${2:-docs/splash.png}"
mkdir -p "$(dirname "$out")" "$(dirname "$splash")"

xvfb-run -a -s "-screen 0 900x700x24" bash -c '
  set -euo pipefail
  out="$1"
  splash="$2"
  source scripts/lib/start-program.sh
  start_program
  sleep 1  # the splash is up for two seconds
  shoot_window "$splash"
  sleep 3  # the splash has closed, the main window maps and paints
  shoot_window "$out"
  kill "$app"
  wait "$app" 2>/dev/null || true
' _ "$out" "$splash"
echo "saved $splash and $out"
