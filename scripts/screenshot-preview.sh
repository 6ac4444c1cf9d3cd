#!/usr/bin/env bash
# Tries the preview as a user on the virtual desktop of scripts/desktop.sh
# and saves a picture of the main window playing a video (default:
# docs/preview-playing.png): a generated video is added with the open
# dialog, its row selected and the play button clicked.
#   DISPLAY_NUMBER=7 bash scripts/screenshot-preview.sh [picture]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/preview-playing.png}"
mkdir -p "$(dirname "$out")"
export DISPLAY_NUMBER="${DISPLAY_NUMBER:-7}"
export DISPLAY=":$DISPLAY_NUMBER"

media="$(mktemp -d)"
trap 'rm -rf "$media"' EXIT
ffmpeg -v error -nostdin -f lavfi -i "testsrc2=s=640x360:r=25:d=30" -f lavfi -i "sine=frequency=440:duration=30" \
  -c:v mpeg4 -q:v 4 -c:a aac -shortest -y "$media/test card.mp4"

bash scripts/desktop.sh start >/dev/null
bash scripts/run.sh >/dev/null 2>&1 &
app=$!
stop() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  bash scripts/desktop.sh stop
  rm -rf "$media"
}
trap stop EXIT

# run.sh builds first and then becomes the program; wait for that.
for _ in $(seq 1 1800); do
  case "$(readlink "/proc/$app/exe" 2>/dev/null || true)" in
    */SonvarroConverter) break ;;
  esac
  kill -0 "$app" 2>/dev/null || { echo "the program did not start" >&2; exit 1; }
  sleep 1
done
window=$(xdotool search --sync --onlyvisible --name "^Sonvarro Converter( [0-9.]+)?$" | head -1)
xdotool windowactivate --sync "$window"
sleep 1

# Points are client pixels of the main window.
at() { xdotool mousemove --window "$window" "$1" "$2"; }

xdotool key ctrl+o
sleep 1.5
xdotool type --delay 10 "$media/test card.mp4"
xdotool key Return
sleep 3

at 120 320; xdotool click 1; sleep 0.5  # the row
at 48 273; xdotool click 1              # the play button
sleep 4.5
at 400 100
sleep 0.3
import -window "$window" "$out"
echo "saved $out"
