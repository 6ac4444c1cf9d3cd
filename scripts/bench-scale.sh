#!/usr/bin/env bash
# Benchmarks the program at scale, in the running main window (its real
# root and Qt skins, in one process):
#
#  - Adding 1,000 files at once (short files of several accepted types, some
#    of them broken), once dropped on the list and once chosen in the open
#    dialog: the whole add, from the drop or the click to the last row,
#    against the same files through the probe alone in the same run; the
#    longest gap between two paints of the main window (and of the add-files
#    popup) while the files come in; how many bad files "Error Info" listed.
#    Targets: the probing within 2 s, a paint at least every 100 ms.
#  - 10,000 rows: the time each of selecting a row (a click), scrolling a
#    page (Page Down), selecting all (Ctrl+A), ticking a check box, removing
#    half (the lower half selected, Delete) and clearing (the Clear button)
#    takes to be answered (the handler and the paint it causes), median and
#    worst over several runs; the program's resident memory before the rows
#    came in and with them. Targets: each within 50 ms; under 120 MB.
#
#   bash scripts/bench-scale.sh [build folder, default build/main] [runs, default 5] [media folder]
#
# A media folder given is kept: the media is generated into it when it has
# none yet, and used again by the next run.
# The media is generated with the ffmpeg tool into a temporary folder: one
# short file (2 to 4 s) of each of 13 types, copied to 1,000 names (spaces
# and non-ASCII letters among them), 40 of which are broken (cut to a few
# bytes, text under a media name, empty, or shorter than a second); the
# 10,000 rows are hard links to the good ones in ten other folders. Runs on
# Qt's offscreen platform unless DISPLAY is set: the offscreen platform
# paints every window into memory as a screen would, so the paint gaps are
# the same, and the figures do not depend on a window manager.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/main}
runs=${2:-5}
media=${3:-}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
[ -f "$build/build.ninja" ] || { echo "no build in $build: configure first (cmake -S . -B $build -G Ninja)" >&2; exit 1; }
cmake --build "$build" --target scale_bench SonvarroConverter >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$media" ]; then mkdir -p "$media"; else media="$work/media"; fi
quiet=(-nostdin -hide_banner -loglevel error -y)
tone() { ffmpeg "${quiet[@]}" -f lavfi -i "sine=frequency=$1:duration=$2" "${@:3}"; }

if [ ! -d "$media/rows/9" ]; then
  echo "Generating 1,000 files and 10,000 links in $media ..."
  mkdir -p "$media/kinds" "$media/add" "$media/rows"
  tone 440 3 -c:a libmp3lame -b:a 64k "$media/kinds/tone.mp3"
  tone 450 2 -c:a pcm_s16le -ar 22050 "$media/kinds/tone.wav"
  tone 460 4 -c:a libvorbis "$media/kinds/tone.ogg"
  tone 470 3 -c:a aac -b:a 64k "$media/kinds/tone.m4a"
  tone 480 3 -c:a aac -b:a 64k -f adts "$media/kinds/tone.aac"
  tone 490 2 -c:a ac3 -b:a 96k "$media/kinds/tone.ac3"
  tone 500 3 -c:a flac "$media/kinds/tone.flac"
  tone 510 2 -c:a mp2 -b:a 64k "$media/kinds/tone.mp2"
  tone 520 3 -c:a wmav2 -b:a 64k "$media/kinds/tone.wma"
  tone 530 3 -c:a libopus -b:a 32k "$media/kinds/tone.opus"
  for kind in mp4 avi mkv; do
    ffmpeg "${quiet[@]}" -f lavfi -i "testsrc=s=160x120:r=10:d=3" -f lavfi -i "sine=frequency=600:duration=3" \
      -c:v mpeg4 -q:v 10 -c:a aac -b:a 48k -shortest "$media/kinds/clip.$kind"
  done
  tone 700 0.5 -c:a libmp3lame -b:a 64k "$media/kinds/short.mp3"  # under a second: unreadable

  kinds=("$media"/kinds/tone.* "$media"/kinds/clip.*)
  names=("song" "a track with spaces" "chanson d'été" "Ωμέγα" "\$dollar & 'quotes'")
  bad=0
  for i in $(seq 1 1000); do
    kind=${kinds[$((i % ${#kinds[@]}))]}
    base="$(printf '%04d' "$i") ${names[$((i % ${#names[@]}))]}"
    if [ $((i % 25)) -eq 0 ]; then
      # Every 25th file is broken, four ways in turn.
      case $(((i / 25) % 4)) in
        0) head -c 200 "$kind" >"$media/add/$base.${kind##*.}" ;;
        1) echo "not a media file" >"$media/add/$base.mp3" ;;
        2) : >"$media/add/$base.mp4" ;;
        3) cp "$media/kinds/short.mp3" "$media/add/$base.mp3" ;;
      esac
      bad=$((bad + 1))
    else
      cp "$kind" "$media/add/$base.${kind##*.}"
    fi
  done
  # Ten folders of the same 1,000 links: one link each, then nine copies of the
  # folder at once.
  good=("$media"/kinds/tone.* "$media"/kinds/clip.*)
  mkdir "$media/rows/0"
  for i in $(seq 1 1000); do
    kind=${good[$((i % ${#good[@]}))]}
    ln "$kind" "$media/rows/0/$(printf '%04d' "$i") row.${kind##*.}"
  done
  for n in 1 2 3 4 5 6 7 8 9; do cp -al "$media/rows/0" "$media/rows/$n"; done
  echo "  $(ls "$media/add" | wc -l) files to add ($bad broken), $(find "$media/rows" -type f | wc -l) rows"
fi

# The program's application folder as built: its Config folder, the
# companion libraries start-up checks and the encoder.
mkdir -p "$work/app"
cp -r "$build/app/Config" "$build/app/Res.dll" "$build/app/Form.dll" "$build/app/Lib.dll" "$build/app/evc.exe" \
  "$work/app/"

if [ -z "${DISPLAY:-}" ]; then export QT_QPA_PLATFORM=offscreen; fi
echo "Qt platform: ${QT_QPA_PLATFORM:-xcb on $DISPLAY}; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/scale_bench" "$work/app/" "$media/add" "$media/rows" "$runs"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
