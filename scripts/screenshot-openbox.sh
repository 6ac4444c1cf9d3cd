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
source scripts/lib/start-program.sh

scratch="$(mktemp -d)"
start_on_desktop "$scratch"
window="$(window_named '^Sonvarro Converter')"
sleep 2  # the main window paints
eval "$(xdotool getwindowgeometry --shell "$window")"
before="$X,$Y"
# Drag by an empty spot of the background, between the preview and the links.
xdotool mousemove $((X + 330)) $((Y + 100)) && sleep 0.3
xdotool mousedown 1 && sleep 0.3
xdotool mousemove $((X + 300)) $((Y + 90)) && sleep 0.3
xdotool mousemove $((X + 250)) $((Y + 70)) && sleep 0.3
xdotool mouseup 1 && sleep 0.3
xdotool mousemove 0 0 && sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "dragged by the background from $before to $X,$Y"
shoot_window "$out"
echo "saved $out"
