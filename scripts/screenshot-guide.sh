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

bash scripts/desktop.sh start >/dev/null
bash scripts/run.sh >/dev/null 2>&1 &
app=$!
stop() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  bash scripts/desktop.sh stop
  rm -rf "$work"
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

# The first visible window whose caption matches, waiting up to 30 seconds.
window_named() {
  local id
  for _ in $(seq 1 300); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)" && [ -n "$id" ] && {
      echo "$id"
      return 0
    }
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  return 1
}
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
