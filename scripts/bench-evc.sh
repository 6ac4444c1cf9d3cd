#!/usr/bin/env bash
# Benchmarks evc.exe against the ffmpeg tool on the same generated 10-minute
# sources and the same settings, in the same run: for every output type it
# prints both wall times, the ratio evc/ffmpeg and both peak memories.
#
#   bash scripts/bench-evc.sh [build folder, default build/main] [seconds, default 600] [runs, default 1]
#
# With runs > 1 each pair runs that often, alternating, and the best time of
# each counts: other load on the machine then blurs the figures less.
# Needs GNU time (/usr/bin/time, Debian package "time") and the ffmpeg tool.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/main}
seconds=${2:-600}
runs=${3:-1}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
evc="$build/app/evc.exe"
[ -x "$evc" ] || { echo "no $evc: build first (cmake --build $build)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time missing: bash scripts/install-deps.sh" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

quiet=(-nostdin -hide_banner -loglevel error -y)
# Music-like material: a few tones over pink noise, stereo 44.1 kHz.
audio=(-f lavfi -i "aevalsrc=exprs='0.2*sin(2*PI*220*t)+0.1*sin(2*PI*(440+40*sin(t))*t)|0.2*sin(2*PI*330*t)+0.1*sin(2*PI*(550+30*sin(2*t))*t)':s=44100:d=$seconds"
       -f lavfi -i "anoisesrc=color=pink:amplitude=0.1:sample_rate=44100:d=$seconds")
mix=(-filter_complex "[0][1]amix=inputs=2:normalize=0[a]")

echo "Generating ${seconds}-second sources in $work ..."
ffmpeg "${quiet[@]}" "${audio[@]}" -f lavfi -i "testsrc=s=640x360:r=25:d=$seconds" "${mix[@]}" \
  -map 2:v -map "[a]" -c:v mpeg4 -q:v 5 -c:a aac -b:a 160k "$work/video.mp4"
ffmpeg "${quiet[@]}" "${audio[@]}" "${mix[@]}" -map "[a]" -c:a pcm_s16le "$work/audio.wav"
ffmpeg "${quiet[@]}" "${audio[@]}" "${mix[@]}" -map "[a]" -ar 48000 -c:a ac3 -b:a 192k "$work/audio.ac3"
ffmpeg "${quiet[@]}" "${audio[@]}" "${mix[@]}" -map "[a]" -c:a wmav2 -b:a 128k "$work/audio.wma"

# Runs a command under GNU time; prints "seconds kilobytes".
measure() {
  local report="$work/time.txt"
  /usr/bin/time -f "%e %M" -o "$report" "$@" > /dev/null 2>&1 || { echo "FAILED: $*" >&2; echo "nan nan"; return; }
  cat "$report"
}

# Keeps the lower time and the higher memory of two "seconds kilobytes" pairs.
best() {
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ");
    if (x[1] == "") { print b; exit } if (y[1] == "") { print a; exit }
    printf "%s %s\n", (x[1] < y[1] ? x[1] : y[1]), (x[2] > y[2] ? x[2] : y[2]) }'
}

printf "\n%-34s %9s %9s %7s %11s %11s\n" "source -> output" "evc s" "ffmpeg s" "ratio" "evc MB" "ffmpeg MB"
# One row: source, output extension, evc options, ffmpeg options (the same settings).
bench() {
  local source=$1 ext=$2 evc_opts=$3 ff_opts=$4
  local evc_best="" ff_best="" run
  for ((run = 0; run < runs; run++)); do
    evc_best=$(best "$evc_best" "$(measure "$evc" -y -i "$work/$source" $evc_opts "$work/evc.$ext")")
    if [ -n "$ff_opts" ]; then
      ff_best=$(best "$ff_best" "$(measure ffmpeg "${quiet[@]}" -i "$work/$source" $ff_opts "$work/ffmpeg.$ext")")
    fi
  done
  read -r evc_s evc_kb <<< "$evc_best"
  local ff_s="-" ff_kb="-" ratio="-" ff_mb="-"
  if [ -n "$ff_opts" ]; then
    read -r ff_s ff_kb <<< "$ff_best"
    ratio=$(awk -v a="$evc_s" -v b="$ff_s" 'BEGIN { printf "%.2f", a / b }')
    ff_mb=$(awk -v k="$ff_kb" 'BEGIN { printf "%.1f", k / 1024 }')
  fi
  printf "%-34s %9s %9s %7s %11s %11s\n" "$source -> $ext ($5)" "$evc_s" "$ff_s" "$ratio" \
    "$(awk -v k="$evc_kb" 'BEGIN { printf "%.1f", k / 1024 }')" "$ff_mb"
}

# The program's "Normal Quality" lines (volume 200 %). Where an encoder cannot
# take a value both get the one evc uses instead: AC-3 at 32000 Hz, Vorbis
# mono 22050 Hz at 90 kbit/s. The ffmpeg tool has no AMR-NB encoder here.
for source in video.mp4 audio.wav; do
  bench $source amr "-acodec amr_nb -s 176x144 -b 128 -ab 128 -vol 200 -ac 1 -ar 8000" "" "AMR"
  bench $source aac "-acodec aac -vn -ab 128 -vol 200 -ac 1 -ar 22050" \
    "-vn -c:a aac -b:a 128k -af volume=2 -ac 1 -ar 22050" "AAC"
  bench $source mp3 "-acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100" \
    "-vn -c:a libmp3lame -b:a 128k -af volume=2 -ac 2 -ar 44100" "MP3"
  bench $source ac3 "-acodec ac3 -vn -ab 128 -vol 200 -ac 1 -ar 32000" \
    "-vn -c:a ac3 -b:a 128k -af volume=2 -ac 1 -ar 32000" "AC3"
  bench $source m4a "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 44100" \
    "-vn -c:a aac -b:a 128k -af volume=2 -ac 2 -ar 44100" "M4A"
  bench $source ogg "-acodec vorbis -vn -ab 90 -vol 200 -ac 1 -ar 22050" \
    "-vn -c:a libvorbis -b:a 90k -af volume=2 -ac 1 -ar 22050" "OGG"
  bench $source wav "-acodec pcm_s16le -vn -ab 128 -vol 200 -ac 2 -ar 44100" \
    "-vn -c:a pcm_s16le -af volume=2 -ac 2 -ar 44100" "WAV"
done
# Decoding a real share of the work: AC-3 and WMA to AAC with resampling.
for source in audio.ac3 audio.wma; do
  bench $source m4a "-acodec aac -vn -ab 128 -vol 200 -ac 2 -ar 32000" \
    "-vn -c:a aac -b:a 128k -af volume=2 -ac 2 -ar 32000" "AAC 32k"
done
