#!/usr/bin/env bash
# Benchmarks the preview player inside the program: prints the time from the
# play command (the selected row loaded and played) to the first picture
# painted in the video area (several loads, and their median) and the
# program's CPU use while the preview is paused, measured over 10 seconds
# with every timer of the main window running (the handles' 10 ms one too). Targets: first picture within 150 ms; paused, below 2 % of one core.
#
#   bash scripts/bench-preview.sh [build folder, default build/main] [video, default generated] [runs, default 5]
#
# Without a video it generates a 60-second MPEG-4 video (640 x 360, 25 frames
# a second) with AAC sound. Runs on Qt's offscreen platform unless DISPLAY is
# set; sound goes to the machine's output, or nowhere when there is none.
# PLAY_ON=<seconds> keeps the video playing that long at the end (to look at
# it, or take a picture of it, on a display).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/main}
video=${2:-}
runs=${3:-5}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
[ -f "$build/build.ninja" ] || { echo "no build in $build: configure first (cmake -S . -B $build -G Ninja)" >&2; exit 1; }
cmake --build "$build" --target preview_bench SonvarroConverter >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$video" ]; then
  video="$work/video.mp4"
  echo "Generating a 60-second video in $work ..."
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "testsrc=s=640x360:r=25:d=60" \
    -f lavfi -i "sine=frequency=440:duration=60" -c:v mpeg4 -q:v 5 -c:a aac -b:a 128k -shortest "$video"
fi

# The program's application folder as built: its Config folder, the
# companion libraries start-up checks and the encoder.
mkdir -p "$work/app"
cp -r "$build/app/Config" "$build/app/Res.dll" "$build/app/Form.dll" "$build/app/Lib.dll" "$build/app/evc.exe" \
  "$work/app/"

if [ -z "${DISPLAY:-}" ]; then export QT_QPA_PLATFORM=offscreen; fi
"$build/bench/preview_bench" "$work/app/" "$video" "$runs" "${PLAY_ON:-0}"
