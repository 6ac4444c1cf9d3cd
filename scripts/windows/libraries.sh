#!/usr/bin/env bash
# Builds the libraries that Debian packages for Linux only, for 64-bit
# Windows, from Debian's own source packages (apt-get source), into a prefix
# under the build folder:
#   bash scripts/windows/libraries.sh [build folder, default build/windows]
# The prefix is named after the source versions and this script's own
# contents (which hold the configure flags), so it is built once per machine
# and rebuilt only when one of them changes. Prints the prefix's path last.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build/windows}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
host=x86_64-w64-mingw32
jobs=$(nproc)

# The source packages come from the archive the machine already uses.
if ! apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  for list in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$list" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$list" | $SUDO tee /etc/apt/sources.list.d/sonvarro-src.sources >/dev/null
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/sonvarro-src.list >/dev/null
  fi
  $SUDO apt-get update -qq
fi

SOURCES=(libjpeg-turbo)
version_of() { apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -n 1; }
key="$( { for s in "${SOURCES[@]}"; do echo "$s $(version_of "$s")"; done; cat "$0"; } | sha256sum | cut -c1-16)"
prefix="$build/deps-$key"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
rm -rf "$prefix" "$build/deps-src"
mkdir -p "$prefix" "$build/deps-src"
src="$build/deps-src"

step() {
  local name="$1"
  shift
  local started=$SECONDS
  echo "windows libraries: $name..." >&2
  "$@" >"$src/$name.log" 2>&1 || { tail -n 40 "$src/$name.log" >&2; echo "windows libraries: $name failed" >&2; exit 1; }
  echo "windows libraries: $name took $((SECONDS - started)) s" >&2
}

# Unpacks a source package (Debian's patches applied) and prints its folder.
unpack() {
  (cd "$src" && apt-get source -qq "$1" >/dev/null 2>&1)
  find "$src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n 1
}

build_libjpeg() {
  local dir
  dir="$(unpack libjpeg-turbo)"
  cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  cmake --build "$dir/build" -j "$jobs" --target install
}

step libjpeg build_libjpeg

touch "$prefix/.complete"
rm -rf "$src"
echo "$prefix"
