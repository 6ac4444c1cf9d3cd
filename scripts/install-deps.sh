#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Quick when everything is already there: apt is only asked when a package is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb-shape0-dev libxcb-randr0-dev
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libavfilter-dev
  libopencore-amrnb-dev
  libmpv-dev libasound2-dev
  libjpeg-dev
  xvfb xauth x11-apps x11-utils imagemagick openbox xdotool python3 python3-xlib
  qt6-wayland weston
  ffmpeg time
  fp-utils xdg-utils
  fonts-dejavu-core
  util-linux dpkg-dev file desktop-file-utils debootstrap
  g++-mingw-w64-x86-64-posix wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
