#!/usr/bin/env bash
# Takes the README's pictures of the Options dialog (default:
# docs/options-dialog.png) and of the progress window while a file converts
# (default: docs/converting.png), driving the program with xdotool on the
# virtual desktop of scripts/desktop.sh as a user would: a generated
# 20-minute tone is added with the open dialog, converted into a temporary
# folder, and the job is stopped once the picture is taken.
#   DISPLAY_NUMBER=7 bash scripts/screenshot-guide.sh [options picture] [progress picture]
set -euo pipefail
cd "$(dirname "$0")/.."
options_out="${1:-docs/options-dialog.png}"
progress_out="${2:-docs/converting.png}"
mkdir -p "$(dirname "$options_out")" "$(dirname "$progress_out")"
export DISPLAY_NUMBER="${DISPLAY_NUMBER:-7}"
export DISPLAY=":$DISPLAY_NUMBER"

work="$(mktemp -d)"
ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1200" -ac 2 -y "$work/concert.wav"
mkdir -p "$work/converted"

source scripts/lib/start-program.sh
start_on_desktop "$work"

main="$(window_named '^Sonvarro Converter')"
xdotool windowactivate --sync "$main"
sleep 1

# keys_in_dialog SHORTCUT CAPTION TEXT: opens a file dialog and answers it.
keys_in_dialog() {
  xdotool windowactivate --sync "$main" key --clearmodifiers "$1"
  xdotool windowactivate --sync "$(window_named "^$2\$")"
  xdotool type --delay 10 "$3"
  xdotool key Return
  sleep 1
}
keys_in_dialog ctrl+b "Please select output folder:" "$work/converted"
keys_in_dialog ctrl+o "Open" "$work/concert.wav"

xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+i
options="$(window_named '^Options$')"
sleep 1
import -window "$options" "$options_out"
echo "saved $options_out"
xdotool windowactivate --sync "$options" key Escape
sleep 0.5

xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+s
progress="$(window_named '^Converting$')"
sleep 3
import -window "$progress" "$progress_out"
echo "saved $progress_out"
