#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the whole
# suite, the installed program and its package (scripts/test-install.sh), the
# program on Wayland (scripts/wayland-check.sh), then the toolkit-free tests
# again under AddressSanitizer and UBSan, and a short round of the robot user
# on the whole program built with them; and the Windows part under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The house style (.clang-format): a source file that strays from it fails the run.
find Code evc tests companions artwork bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort | xargs clang-format --dry-run --Werror

jobs=$(nproc)

# Objects compiled once are reused by the next run and by the other builds.
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true

cmake -S . -B build/main -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/main -j "$jobs"
(cd build/main && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
# The benchmark harnesses are built on demand by their scripts; building them
# here keeps them compiling as the code under them changes.
cmake --build build/main -j "$jobs" --target preview_bench job_bench scale_bench

# The plain CMake build (the Makefile generator) must build the program, the
# encoder, the companion libraries, the pictures and the help too. The tests
# are left to the Ninja build above: their objects name their build folder,
# so none of them would come from the cache.
cmake -S . -B build/make -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONVARRO_BUILD_TESTS=OFF >/dev/null
cmake --build build/make -j "$jobs" >build/make/build.log 2>&1 || { tail -n 40 build/make/build.log; exit 1; }
echo "The Makefile build built the program and its companions."

# The installed program as a user who cannot write the prefix, and the Debian package.
bash scripts/test-install.sh build/main

# The program natively on a Wayland compositor (Weston, headless).
bash scripts/wayland-check.sh build/main

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSONVARRO_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"
(cd build/sanitize && \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$jobs")

# The robot user (scripts/robot.sh): a short round of 300 actions on the
# whole program under the sanitizers. The seed is fixed so that a run of this
# command can be repeated; longer rounds with other seeds look further.
bash scripts/robot.sh 300 31

# Everything below the Qt skin built for Windows with mingw-w64, on libraries
# cross-built from Debian's source packages (once per machine), and its tests
# under Wine (scripts/windows/test.sh). Its closing lines say how long it took.
bash scripts/windows/test.sh build/windows
