#!/usr/bin/env bash
# Tries trimming as a user on the virtual desktop of scripts/desktop.sh and
# saves a picture of the main window (default: docs/trimmed-rows.png): two
# generated tones are added with the open dialog, the second is trimmed by
# typing in its time cells, the first with the timeline's handles.
#   DISPLAY_NUMBER=7 bash scripts/screenshot-trim.sh [picture]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/trimmed-rows.png}"
mkdir -p "$(dirname "$out")"
export DISPLAY_NUMBER="${DISPLAY_NUMBER:-7}"
export DISPLAY=":$DISPLAY_NUMBER"

media="$(mktemp -d)"
trap 'rm -rf "$media"' EXIT
for tone in "interview:100:440" "song:160:660"; do
  IFS=: read -r name seconds frequency <<<"$tone"
  ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=$frequency:sample_rate=44100:duration=$seconds" \
    -ac 2 -y "$media/$name.wav"
done

source scripts/lib/start-program.sh
start_on_desktop "$media"
window="$(window_named '^Sonvarro Converter')"
xdotool windowactivate --sync "$window"
sleep 1

# Points are client pixels of the main window.
at() { xdotool mousemove --window "$window" "$1" "$2"; }
drag() {  # from x, y by dx, in steps as a hand would
  at "$1" "$2"
  xdotool mousedown 1
  for step in 1 2 3 4; do
    at $(($1 + $3 * step / 4)) "$2"
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.3
}

xdotool key ctrl+o
sleep 1.5
xdotool type --delay 10 "\"$media/interview.wav\" \"$media/song.wav\""
xdotool key Return
sleep 3

# The song: Start Time typed as 00:01:00 (posted at once), End Time as
# 00:02:00 (posted with Return).
row2=340 startTime=373 endTime=442
at "$startTime" "$row2"; xdotool click 1; sleep 0.3
xdotool type --delay 80 "0001"; sleep 0.3
at "$endTime" "$row2"; xdotool click 1; sleep 0.3
xdotool type --delay 80 "000200"; xdotool key Return; sleep 0.3

# The interview: selected, then its handles dragged toward each other.
at 120 320; xdotool click 1; sleep 0.3
strip=243 startHandle=32 endHandle=271
drag "$startHandle" "$strip" 61
drag "$endHandle" "$strip" -70
at 400 100
sleep 0.5
import -window "$window" "$out"
echo "saved $out"
