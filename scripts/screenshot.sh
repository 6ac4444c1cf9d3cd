#!/usr/bin/env bash
# Starts the program with the README's start command on a virtual X server
# and saves a picture of its main window (default: docs/main-window.png).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
mkdir -p "$(dirname "$out")"

xvfb-run -a -s "-screen 0 900x700x24" bash -c '
  set -euo pipefail
  out="$1"
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
  sleep 3  # the window maps and paints
  # The screen around the window is black; trimming leaves the window.
  import -window root -trim +repage "$out"
  kill "$app"
  wait "$app" 2>/dev/null || true
' _ "$out"
echo "saved $out"
