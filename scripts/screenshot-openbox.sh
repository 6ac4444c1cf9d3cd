#!/usr/bin/env bash
# Saves a picture of the main window under a window manager (default:
# docs/main-window-openbox.png), on the virtual desktop of scripts/desktop.sh
# (Xvfb + openbox): the window is dragged by its background first, so the
# picture shows it where the user put it.
#   DISPLAY_NUMBER=7 bash scripts/screenshot-openbox.sh [picture]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window-openbox.png}"
mkdir -p "$(dirname "$out")"
export DISPLAY_NUMBER="${DISPLAY_NUMBER:-7}"
export DISPLAY=":$DISPLAY_NUMBER"

bash scripts/desktop.sh start >/dev/null
bash scripts/run.sh >/dev/null 2>&1 &
app=$!
stop() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  bash scripts/desktop.sh stop
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
sleep 5  # the splash has closed, the main window maps and paints
window="$(xdotool search --sync --onlyvisible --name '^Sonvarro Converter')"
eval "$(xdotool getwindowgeometry --shell "$window")"
# Drag by an empty spot of the background, between the preview and the links.
xdotool mousemove $((X + 330)) $((Y + 100)) && sleep 0.3
xdotool mousedown 1 && sleep 0.3
xdotool mousemove $((X + 300)) $((Y + 90)) && sleep 0.3
xdotool mousemove $((X + 250)) $((Y + 70)) && sleep 0.3
xdotool mouseup 1 && sleep 0.3
xdotool mousemove 0 0 && sleep 1
before="$X,$Y"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "dragged by the background from $before to $X,$Y"
# The screen around the window is black: the window is what trimming leaves.
# It is painted a desktop blue, so that the outline shows, with a margin.
import -window root "$out.full.png"
box="$(convert "$out.full.png" -trim -format "%wx%h%O" info:)"
convert "$out.full.png" -fill "#4d6580" -draw "color 0,0 floodfill" -crop "$box" +repage \
  -bordercolor "#4d6580" -border 12 "$out"
rm -f "$out.full.png"
echo "saved $out"
