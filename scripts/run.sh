#!/usr/bin/env bash
# Installs what is missing, builds the application folder and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/main -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/main -j "$(nproc)"
exec build/main/app/SonvarroConverter "$@"
