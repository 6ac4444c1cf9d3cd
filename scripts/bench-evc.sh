#!/usr/bin/env bash
# Benchmarks evc.exe against the ffmpeg tool on the same generated 10-minute
# sources and the same settings, in the same run: for every output type it
# prints both wall times and their ratio evc/ffmpeg, both CPU times (user +
# system) and their ratio, and both peak memories. Where evc encodes on
# several encoder instances it also checks the output against the one a
# single instance makes at the same settings (-evc_instances 1), both
# measured against what the encoders were given (the same options into PCM)
# in 20 ms windows: the mean signal-to-noise ratio of each, the worst window
# of the single output, the worst window near a chunk join of the other,
# and whether both have the same length.
#
#   bash scripts/bench-evc.sh [build folder, default build/main] [seconds, default 600] [runs, default 1] [rows]
#
# rows: an extended regular expression; only the rows whose "source -> type"
# matches it run (for example 'audio.wav' or '-> (mp3|m4a)'). Default: all.
# With runs > 1 each pair runs that often, alternating; the times shown are
# the medians, and the ratios the medians of each pair's own ratios: a pair
# runs back to back, so the machine's slower and faster spells (this one's
# CPU times drift by a tenth between runs) blur the ratios less. The load
# average is printed before and after.
# Needs GNU time (/usr/bin/time, Debian package "time") and the ffmpeg tool.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/main}
seconds=${2:-600}
runs=${3:-1}
rows=${4:-}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
evc="$build/app/evc.exe"
quality="$build/tests/evc_quality"
[ -x "$evc" ] || { echo "no $evc: build first (cmake --build $build)" >&2; exit 1; }
[ -x "$quality" ] || { echo "no $quality: build first (cmake --build $build --target evc_quality)" >&2; exit 1; }
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

echo "Cores: $(nproc); load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

# Runs a command under GNU time; prints "wall cpu kilobytes" (cpu: user + system).
measure() {
  local report="$work/time.txt"
  /usr/bin/time -f "%e %U %S %M" -o "$report" "$@" > "$work/stdout.txt" 2>&1 || {
    echo "FAILED: $*" >&2
    echo "nan nan nan"
    return
  }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$report"
}

# The median wall and CPU times and the highest memory of "wall cpu kilobytes"
# lines on standard input (a failed run's "nan" sorts last).
summary() {
  sort -g -k1,1 > "$work/runs.txt"
  local middle wall cpu kb
  middle=$(( ($(wc -l < "$work/runs.txt") + 1) / 2 ))
  wall=$(awk -v m="$middle" 'NR == m { print $1 }' "$work/runs.txt")
  cpu=$(sort -g -k2,2 "$work/runs.txt" | awk -v m="$middle" 'NR == m { print $2 }')
  kb=$(sort -g -k3,3 "$work/runs.txt" | tail -n1 | awk '{ print $3 }')
  echo "$wall $cpu $kb"
}

# pair_ratio COLUMN EVC_RUNS FF_RUNS: the median of evc/ffmpeg over the pairs.
pair_ratio() {
  paste -d' ' <(printf '%s' "$2") <(printf '%s' "$3") |
    awk -v c="$1" '$(c + 3) + 0 > 0 && $c != "nan" { print $c / $(c + 3) }' | sort -g |
    awk '{ r[NR] = $1 } END { if (NR == 0) print "-"; else printf "%.2f", (r[int((NR + 1) / 2)] + r[int(NR / 2) + 1]) / 2 }'
}
megabytes() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

printf "\n%-30s %7s %7s %5s  %7s %7s %5s  %6s %6s  %s\n" "source -> output" "evc s" "ff s" "wall" \
  "evc cpu" "ff cpu" "cpu" "evc MB" "ff MB" "quality of the chunked output (SNR dB: single / chunked)"
# One row: source, output extension, evc options, ffmpeg options (the same settings), label.
bench() {
  local source=$1 ext=$2 evc_opts=$3 ff_opts=$4 label=$5
  [[ "$source -> $ext" =~ $rows ]] || return 0
  local evc_runs="" ff_runs="" run
  for ((run = 0; run < runs; run++)); do
    evc_runs+="$(measure "$evc" -y -i "$work/$source" $evc_opts "$work/evc.$ext")"$'\n'
    cp "$work/stdout.txt" "$work/evc-stdout.txt"
    if [ -n "$ff_opts" ]; then
      ff_runs+="$(measure ffmpeg "${quiet[@]}" -i "$work/$source" $ff_opts "$work/ffmpeg.$ext")"$'\n'
    fi
  done
  local evc_best ff_best=""
  evc_best=$(printf '%s' "$evc_runs" | summary)
  [ -z "$ff_opts" ] || ff_best=$(printf '%s' "$ff_runs" | summary)
  local chunk
  chunk=$(sed -n 's/^Encoding in chunks of .*(\([0-9]*\) samples).*/\1/p' "$work/evc-stdout.txt")
  read -r evc_s evc_cpu evc_kb <<< "$evc_best"
  local ff_s="-" ff_cpu="-" ff_kb="-" ff_mb="-"
  if [ -n "$ff_opts" ]; then
    read -r ff_s ff_cpu ff_kb <<< "$ff_best"
    ff_mb=$(megabytes "$ff_kb")
  fi
  local figures="one instance"
  if [ -n "$chunk" ]; then
    # What the encoders were given: the same options into PCM.
    local pcm_opts
    pcm_opts=$(sed -E 's/-acodec [a-z0-9_]+/-acodec pcm_s16le/' <<< "$evc_opts")
    "$evc" -y -i "$work/$source" $pcm_opts "$work/reference.wav" > /dev/null
    "$evc" -y -i "$work/$source" $evc_opts -evc_instances 1 "$work/single.$ext" > /dev/null
    figures="$("$quality" "$work/reference.wav" "$work/single.$ext" "$work/evc.$ext" "$chunk" 2> /dev/null ||
      echo "quality check FAILED")"
  fi
  printf "%-30s %7s %7s %5s  %7s %7s %5s  %6s %6s  %s\n" "$source -> $ext ($label)" "$evc_s" "$ff_s" \
    "$(pair_ratio 1 "$evc_runs" "$ff_runs")" "$evc_cpu" "$ff_cpu" "$(pair_ratio 2 "$evc_runs" "$ff_runs")" "$(megabytes "$evc_kb")" \
    "$ff_mb" "$figures"
}

# The program's "Normal Quality" lines (volume 200 %). Where an encoder cannot
# take a value both get the one evc uses instead: AC-3 at 32000 Hz, Vorbis
# mono 22050 Hz at 90 kbit/s. The ffmpeg tool has no AMR-NB encoder here.
# evc holds the doubled volume under full scale with its limiter; the ffmpeg
# line only doubles it.
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
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
