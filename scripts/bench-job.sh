#!/usr/bin/env bash
# Benchmarks a long conversion job inside the program: the files of a folder
# added through the open dialog, every third row trimmed, Convert pressed,
# with the real encoder and the real runner. One run of the program per
# output type, over the same sources. Each run prints: the files, how many
# outputs are valid (ffprobe: the type's codec, a length within 0.5 s of the
# row's trimmed length), whether the log is complete (one "parameter:" line
# per file), the resident memory after the first file and at the end and
# their difference (target: within 10 MB), the open file descriptors, the
# child processes and threads before and after the job (target: no child
# left) and the total time; then one summary line per run.
#
#   bash scripts/bench-job.sh [files, default 200] [types, default all: AMR,AAC,MP3,AC3,M4A,OGG,WAV]
#
# Types are given by their extension, separated by commas (for example
# "mp3,ogg"). The sources are generated with the ffmpeg tool: 5 to 30
# seconds each, a tone, in audio files (wav, mp3, flac, ogg, m4a, wma) and
# small videos with sound (mp4, avi, mkv, flv), in a folder whose name holds
# a blank, "$" and a non-ASCII letter.
#
# The job's pauses of 2 s before and 3 s after each encoder start would add
# 5 s a file; the benchmark is about memory, handles and children, so they
# are set to 0 (the 100 ms look for a running encoder and the runner's pause
# after each chunk of encoder output stay). PAUSES=real keeps them.
# BUILD=<folder> picks the build (default build/main). Runs on Qt's
# offscreen platform unless DISPLAY is set. Exits non-zero when a run misses
# a target.
set -euo pipefail
cd "$(dirname "$0")/.."

files=${1:-200}
types=${2:-all}
build=${BUILD:-build/main}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
[ -f "$build/build.ninja" ] || { echo "no build in $build: configure first (cmake -S . -B $build -G Ninja)" >&2; exit 1; }
[[ $files =~ ^[1-9][0-9]*$ ]] || { echo "the number of files is a whole number above 0" >&2; exit 1; }
ffprobe=$(command -v ffprobe) || { echo "ffprobe is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
cmake --build "$build" --target job_bench SonvarroConverter >/dev/null

# The output types' positions in the program's list.
all_types=(amr aac mp3 ac3 m4a ogg wav)
[ "$types" = all ] && types=$(IFS=,; echo "${all_types[*]}")
chosen=()
for type in ${types//,/ }; do
  found=
  for i in "${!all_types[@]}"; do [ "${all_types[$i]}" = "${type,,}" ] && found=$i; done
  [ -n "$found" ] || { echo "unknown output type \"$type\" (one of: ${all_types[*]})" >&2; exit 1; }
  chosen+=("$found")
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources="$work/sources Ü \$x"
mkdir -p "$sources"

# Source i: its length, 5 to 30 s, spread over the range; its kind by turns.
kinds=(wav mp3 flac ogg mp4 m4a wma avi mkv flv)
make_source() {
  local i=$1 seconds=$((5 + ($1 * 7) % 26)) kind=${kinds[$(($1 % ${#kinds[@]}))]}
  local name
  name=$(printf '%s/%04d song %s.%s' "$sources" "$i" "$kind" "$kind")
  local tone=(-f lavfi -i "sine=frequency=$((220 + i % 7 * 110)):sample_rate=44100:duration=$seconds")
  local picture=(-f lavfi -i "testsrc=s=160x120:r=10:d=$seconds")
  local args
  case $kind in
    wav) args=("${tone[@]}" -ac 2) ;;
    mp3) args=("${tone[@]}" -ac 2 -c:a libmp3lame -b:a 128k) ;;
    flac) args=("${tone[@]}" -ac 2 -c:a flac) ;;
    ogg) args=("${tone[@]}" -ac 2 -c:a libvorbis) ;;
    m4a) args=("${tone[@]}" -ac 2 -c:a aac -b:a 128k) ;;
    wma) args=("${tone[@]}" -ac 2 -c:a wmav2) ;;
    mp4) args=("${picture[@]}" "${tone[@]}" -c:v mpeg4 -c:a aac -shortest) ;;
    avi) args=("${picture[@]}" "${tone[@]}" -c:v mpeg4 -c:a libmp3lame -shortest) ;;
    mkv) args=("${picture[@]}" "${tone[@]}" -c:v mpeg4 -c:a libvorbis -shortest) ;;
    flv) args=("${picture[@]}" "${tone[@]}" -c:v flv -c:a libmp3lame -ar 44100 -shortest) ;;
  esac
  ffmpeg -nostdin -hide_banner -loglevel error -y "${args[@]}" "$name"
}
echo "Generating $files sources (5 to 30 s; ${kinds[*]}) in $work ..."
for ((i = 0; i < files; i++)); do
  make_source "$i" &
  # Two at a time, as the machine has two cores.
  if ((i % 2 == 1)); then wait; fi
done
wait

if [ -z "${DISPLAY:-}" ]; then export QT_QPA_PLATFORM=offscreen; fi
real_pauses=0
[ "${PAUSES:-}" = real ] && real_pauses=1
summary=()
status=0
for type in "${chosen[@]}"; do
  # Each run in a fresh application folder: its own Config, its own log.
  app="$work/app ${all_types[$type]}/"
  mkdir -p "$app"
  cp -r "$build/app/Config" "$build/app/Res.dll" "$build/app/Form.dll" "$build/app/Lib.dll" "$build/app/evc.exe" "$app"
  echo
  result=0
  "$build/bench/job_bench" "$app" "$sources" "$work/out ${all_types[$type]}/" "$type" "$ffprobe" "$real_pauses" |
    tee "$work/run.txt" || result=$?
  ((result == 0)) || status=1
  summary+=("${all_types[$type]}: $(grep -E '^(outputs valid|RSS|open fds|child processes|total time)' "$work/run.txt" |
    sed -E 's/ \(.*//; s/RSS before the job [0-9.]+ MB, //' | paste -sd';' | sed 's/;/; /g')")
  rm -rf "$work/out ${all_types[$type]}/" "$app"
  # The offscreen platform's notes on what it cannot do are left out.
done 2> >(grep -v --line-buffered 'This plugin does not support' >&2)

echo
echo "Summary ($files files a run):"
printf '  %s\n' "${summary[@]}"
exit $status
