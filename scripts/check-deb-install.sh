#!/usr/bin/env bash
# The Debian package on a fresh Debian 12: builds the package, makes a
# minimal Debian 12 root with debootstrap, installs the package there with
# `apt-get install ./file.deb` (apt fetches its dependencies from the
# mirror), and starts the installed program in that root as nobody on an X
# server of its own until its main window shows; then closes it and checks
# it ended well and made its per-user folder. Not part of the test run: it
# downloads a Debian system (a few hundred MB) and takes minutes.
#   bash scripts/check-deb-install.sh [build folder] [screenshot.png]   (run as root)
# DEBIAN_MIRROR picks the mirror (default http://deb.debian.org/debian).
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build/main}")"
shot="${2:-}"
[ -z "$shot" ] || shot="$(realpath -m "$shot")"

if [ "$(id -u)" -ne 0 ]; then
  exec sudo bash "$0" "$@"
fi
bash scripts/install-deps.sh
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

work="$(mktemp -d /tmp/sonvarro-deb-XXXXXX)"
root="$work/root"
mounts=()
program=""
openbox_pid=""
xvfb_pid=""

cleanup() {
  local pid i
  for pid in $program $openbox_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[$i]}" 2>/dev/null || umount -l "${mounts[$i]}" || true; done
  # Never remove through a mount that is still there: that would reach the host's files.
  if findmnt -rn -o TARGET | grep -q "^$work/"; then
    echo "check-deb-install: $work still has mounts; left in place" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

check_name=check-deb-install
source scripts/lib/checks.sh
bind() {
  mkdir -p "$2"
  mount "${@:3}" "$1" "$2"
  mounts+=("$2")
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB"
}
deb="$(ls "$work"/package/sonvarro-converter_*.deb)"
pass "built $(basename "$deb")"

echo "check-deb-install: making a Debian 12 root from $mirror ..."
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
  tail -n 30 "$work/debootstrap.log" >&2
  fail "debootstrap"
}
cp /etc/resolv.conf "$root/etc/resolv.conf"
bind proc "$root/proc" -t proc
bind /dev "$root/dev" --bind
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get update"; }
in_root sh -c "cd /tmp && apt-get install -y ./$(basename "$deb")" >>"$work/apt.log" 2>&1 || {
  tail -n 40 "$work/apt.log" >&2
  fail "apt-get install ./$(basename "$deb")"
}
in_root dpkg-query -W -f='${Status}\n' sonvarro-converter | grep -qx "install ok installed" ||
  fail "the package is not installed"
[ "$(in_root sh -c 'command -v SonvarroConverter')" = "/usr/bin/SonvarroConverter" ] ||
  fail "SonvarroConverter is not on the PATH"
if in_root ldd /usr/lib/sonvarro-converter/SonvarroConverter /usr/lib/sonvarro-converter/evc.exe \
  /usr/lib/sonvarro-converter/Res.dll /usr/lib/sonvarro-converter/Form.dll | grep "not found"; then
  fail "libraries are missing"
fi
pass "apt-get install ./$(basename "$deb") on a fresh Debian 12 ($(grep -c '^Setting up' "$work/apt.log") packages set up)"

# An X server of its own, which the root reaches through its socket.
start_desktop
bind /tmp/.X11-unix "$root/tmp/.X11-unix" --bind

mkdir -p "$root/tmp/user/home" "$root/tmp/user/runtime"
chmod 700 "$root/tmp/user/runtime"
chroot "$root" chown -R nobody:nogroup /tmp/user
chroot "$root" setpriv --reuid=nobody --regid=nogroup --clear-groups env -i DISPLAY="$DISPLAY" HOME=/tmp/user/home \
  XDG_RUNTIME_DIR=/tmp/user/runtime PATH=/usr/bin:/bin SonvarroConverter >"$work/program.log" 2>&1 &
program=$!
wait_for "the main window" 90 xdotool search --onlyvisible --name '^Sonvarro Converter [0-9]'
main="$(xdotool search --onlyvisible --name '^Sonvarro Converter [0-9]')"
main="${main%%$'\n'*}"
sleep 1
[ -z "$shot" ] || import -window root "$shot"
[ -f "$root/tmp/user/home/.local/share/sonvarro-converter/Config/UserSettings.ini" ] ||
  fail "the per-user folder was not made"
pass "the installed program started as nobody and showed its main window${shot:+ ($shot)}"

close_main_window "$main"
wait_for "the program to end" 30 sh -c "! kill -0 $program"
status=0
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
grep -q "^OutDir=" "$root/tmp/user/home/.local/share/sonvarro-converter/Config/UserSettings.ini" ||
  fail "closing did not save the settings in the per-user folder"
pass "closed with status 0, its settings saved in ~/.local/share/sonvarro-converter"
