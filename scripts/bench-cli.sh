#!/usr/bin/env bash
# The cost of sonvarro-convert around its encoder: converts generated
# sources (20 files of 30 s by default) with the command, then runs evc.exe
# directly on the same files with the same argument vectors (read back from
# the command's log), one after another, and prints the command's total
# wall time, the sum of evc's own wall times and the overhead of the command
# in percent of the latter (target: at most 5 %); the same for CPU times
# (user + system, the command's including its encoders'), which a busy
# machine disturbs less than wall times. With several runs the two
# alternate, back to back, and the medians are printed as well. The load
# average is printed before and after: on a busy machine wall times mean
# little. Last, the command's own cost alone: the same files with an encoder
# that does nothing (/bin/true under evc's name; every file then fails, which
# costs the command nothing more), against the median of evc's sum.
# Needs GNU time (/usr/bin/time, Debian package "time").
#
#   bash scripts/bench-cli.sh [build folder, default build/main] [type, default mp3] [runs, default 3]
#                             [files, default 20] [seconds, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/main}
type=${2:-mp3}
runs=${3:-3}
files=${4:-20}
seconds=${5:-30}
case $build in /*) ;; *) build="$PWD/$build" ;; esac
[ -x /usr/bin/time ] || { echo "GNU time missing: bash scripts/install-deps.sh" >&2; exit 1; }
for program in sonvarro-convert evc.exe; do
  [ -x "$build/app/$program" ] || { echo "no $build/app/$program: build first (cmake --build $build)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An application folder of its own, so the log read back holds only this run's lines.
app="$work/app"
mkdir -p "$app/Config" "$work/sources"
cp "$build/app/sonvarro-convert" "$build/app/evc.exe" "$app/"
cp packaging/Config/UserSettings.ini "$app/Config/"

echo "making $files sources of $seconds s"
for ((i = 1; i <= files; i++)); do
  ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=$((200 + 20 * i)):sample_rate=44100:duration=$seconds" \
    -ac 2 "$work/sources/source$i.flac"
done

# timed PROGRAM ARGS...: "wall cpu" in seconds, the program's output dropped
# (and its exit status: the callers look at what it made).
timed() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" </dev/null >/dev/null 2>&1 || true
  tail -n 1 "$work/time" | awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }'
}

# run_command OUTFOLDER: the command's "wall cpu"; stops the benchmark when
# not every file was converted.
run_command() {
  timed "$app/sonvarro-convert" -q -t "$type" -o "$1" "$work"/sources/*.flac
  [ "$(find "$1" -type f -size +0 | wc -l)" -eq "$files" ] || { echo "the command did not convert every file" >&2; exit 1; }
}

# run_evc FROM TO: the sums of evc's "wall cpu", each file run in the
# application folder with the argument vector the command last logged for
# it, its output moved from folder FROM to folder TO.
run_evc() {
  local line args
  mkdir -p "$2"
  while IFS= read -r line; do
    # The sources' and outputs' names hold no blank or quote: the logged
    # line splits into the vector at its blanks, its quotes dropped.
    read -ra args <<<"${line//\"/}"
    args[-1]="$2/$(basename "${args[-1]}")"
    (cd "$app" && timed "${args[@]}")
  done < <(sed -n 's/^[^|]*|parameter: //p' "$app/log.txt" | tr -d '\r' | tail -n "$files") |
    awk '{ wall += $1; cpu += $2 } END { printf "%.2f %.2f\n", wall, cpu }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
percent() { awk -v c="$1" -v e="$2" 'BEGIN { printf "%.1f", (c - e) * 100 / e }'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %12s %12s %9s   %12s %12s %9s\n' run "command (s)" "evc sum (s)" overhead "command CPU" "evc CPU" overhead
rows=()
# A first command run warms the caches and gives the argument vectors.
run_command "$work/warm" >/dev/null
for ((r = 1; r <= runs; r++)); do
  if ((r % 2)); then
    read -r cw cc < <(run_command "$work/command$r")
    read -r ew ec < <(run_evc "$work/command$r" "$work/evc$r")
  else
    read -r ew ec < <(run_evc "$work/command$((r - 1))" "$work/evc$r")
    read -r cw cc < <(run_command "$work/command$r")
  fi
  rows+=("$cw $ew $(percent "$cw" "$ew") $cc $ec $(percent "$cc" "$ec")")
  printf '%-6s %12s %12s %8s%%   %12s %12s %8s%%\n' "$r" $cw $ew "$(percent "$cw" "$ew")" $cc $ec "$(percent "$cc" "$ec")"
done
column() { printf '%s\n' "${rows[@]}" | awk -v k="$1" '{ print $k }' | median; }
printf '%-6s %12s %12s %8s%%   %12s %12s %8s%%\n' median "$(column 1)" "$(column 2)" "$(column 3)" "$(column 4)" \
  "$(column 5)" "$(column 6)"
# The command around an encoder that does nothing, in a folder of its own.
idle="$work/idle"
mkdir -p "$idle/Config"
cp "$app/sonvarro-convert" "$idle/"
cp /bin/true "$idle/evc.exe"
cp packaging/Config/UserSettings.ini "$idle/Config/"
read -r iw ic < <(timed "$idle/sonvarro-convert" -q -t "$type" -o "$work/idle-out" "$work"/sources/*.flac)
echo "the command alone (an encoder that does nothing): $iw s wall, $ic s CPU;" \
  "$(awk -v i="$iw" -v e="$(column 2)" 'BEGIN { printf "%.1f", i * 100 / e }') %" \
  "of the median evc sum"
echo "$files files of $seconds s to $type; target: overhead at most 5 % (the medians of each pair's own overhead)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
