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

SOURCES=(libjpeg-turbo libogg libvorbis lame opencore-amr ffmpeg)
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

# The C compilers for the autotools builds; ccache, when there is one, makes
# a rebuild after an edit of this script quick.
launcher="$(command -v ccache || true)"
cross_cc="${launcher:+$launcher }$host-gcc-posix"
cross_cxx="${launcher:+$launcher }$host-g++-posix"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""

# An autotools package, static only. Debian's patches may touch Makefile.am;
# without maintainer mode make does not try to rerun automake for them.
build_autotools() {
  local dir
  dir="$(unpack "$1")"
  shift
  (cd "$dir" && ./configure --host="$host" --prefix="$prefix" --disable-shared --enable-static \
    --disable-maintainer-mode --disable-dependency-tracking CC="$cross_cc" CXX="$cross_cxx" \
    CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" "$@" && make -j "$jobs" && make install)
}

# FFmpeg with only what evc and the duration probe need: the demuxers of the
# source extensions the program accepts, the audio decoders of what those
# containers hold (video is never decoded), the seven output types' encoders
# and muxers (AMR-NB is encoded by opencore directly), and the file protocol.
FFMPEG_DEMUXERS=aac,ac3,aiff,amr,ape,asf,avi,caf,flac,flv,matroska,mov,mp3,mpegps,mpegts,ogg,rm,swf,tta,wav,wv
FFMPEG_DECODERS=aac,aac_latm,ac3,eac3,mp1,mp1float,mp2,mp2float,mp3,mp3float,vorbis,opus,flac,alac,tta,wavpack,ape
FFMPEG_DECODERS+=,amrnb,amrwb,wmav1,wmav2,wmapro,wmalossless,wmavoice,cook,ralf,sipr,atrac3,ra_144,ra_288,dca,truehd
FFMPEG_DECODERS+=,mlp,nellymoser,qdm2,qdmc,gsm,gsm_ms,mace3,mace6,qcelp,evrc,pcm_*,adpcm_*
FFMPEG_PARSERS=aac,aac_latm,ac3,amr,cook,dca,flac,gsm,mlp,mpegaudio,opus,sipr,vorbis
FFMPEG_ENCODERS=aac,ac3,libmp3lame,libvorbis,pcm_s16le
FFMPEG_MUXERS=adts,ac3,amr,ipod,mp3,ogg,wav

build_ffmpeg() {
  local dir
  dir="$(unpack ffmpeg)"
  mkdir -p "$dir/build"
  (cd "$dir/build" && ../configure --prefix="$prefix" --enable-cross-compile --cross-prefix="$host-" \
    --target-os=mingw32 --arch=x86_64 --cc="$cross_cc" --cxx="$cross_cxx" --pkg-config=pkg-config \
    --pkg-config-flags=--static --extra-cflags="-I$prefix/include" --extra-ldflags="-L$prefix/lib" \
    --enable-static --disable-shared --disable-debug --disable-doc --disable-programs --disable-network \
    --disable-autodetect --disable-x86asm --disable-everything --disable-avdevice --disable-avfilter \
    --disable-swscale --disable-postproc --enable-swresample --enable-libmp3lame --enable-libvorbis \
    --enable-protocol=file --enable-demuxer="$FFMPEG_DEMUXERS" --enable-decoder="$FFMPEG_DECODERS" \
    --enable-parser="$FFMPEG_PARSERS" --enable-encoder="$FFMPEG_ENCODERS" --enable-muxer="$FFMPEG_MUXERS" &&
    make -j "$jobs" && make install)
}

step libjpeg build_libjpeg
step libogg build_autotools libogg
step libvorbis build_autotools libvorbis
step lame build_autotools lame --disable-frontend --disable-decoder --disable-gtktest
step opencore-amr build_autotools opencore-amr --disable-amrnb-decoder
step ffmpeg build_ffmpeg

touch "$prefix/.complete"
rm -rf "$src"
echo "$prefix"
