#!/usr/bin/env bash
# The robot user: builds the whole program with AddressSanitizer and UBSan
# (build/robot) and drives its windows on an X server of its own with random
# but repeatable input (scripts/robot/robot.py). It fails on a crash, a
# sanitizer report, a window that does not answer for 5 s or a child process
# left running.
#   bash scripts/robot.sh [actions, default 2000] [seed, default from the clock]
# The seed is printed first; the same seed gives the same actions again. A
# failed run keeps its scratch folder (the program's output, the sanitizer
# reports, a picture of the screen) and names it.
set -euo pipefail
cd "$(dirname "$0")/.."
actions="${1:-2000}"
seed="${2:-$(date +%s)}"
echo "robot: seed $seed ($actions actions; again with: bash scripts/robot.sh $actions $seed)"

bash scripts/install-deps.sh
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build/robot -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSONVARRO_SANITIZE=ON -DSONVARRO_SANITIZE_PROGRAM=ON \
  -DSONVARRO_BUILD_TESTS=OFF >/dev/null
cmake --build build/robot -j "$(nproc)" --target SonvarroConverter evc help_file >build/robot/build.log 2>&1 ||
  { tail -n 40 build/robot/build.log; exit 1; }

scratch="$(mktemp -d -t sonvarro-robot.XXXXXX)"
status=0
# Debian's own python3, which has python3-xlib.
/usr/bin/python3 -B scripts/robot/robot.py "$PWD/build/robot/app" "$actions" "$seed" "$scratch" \
  "$PWD/scripts/robot/lsan-suppressions.txt" || status=$?
if [ "$status" -eq 0 ]; then
  rm -rf "$scratch"
else
  echo "robot: the trial's files are in $scratch" >&2
fi
exit "$status"
