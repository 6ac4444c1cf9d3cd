#!/usr/bin/env bash
# The installed program as a user meets it. Installs the build into a
# temporary prefix, starts the program through its desktop entry as a user
# who cannot write the prefix (nobody, through setpriv) on an X server of its
# own, converts one file by driving the windows with xdotool, closes it, and
# checks that the settings and the log went to the user's data folder and
# nothing into the prefix. Then builds the Debian package and checks its
# contents and dependencies.
#   bash scripts/test-install.sh [build folder]     (default build/main; run as root)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build/main}")"

if [ "$(id -u)" -ne 0 ]; then
  exec sudo bash "$0" "$@"
fi
bash scripts/install-deps.sh

user=nobody
group=nogroup
work="$(mktemp -d /tmp/sonvarro-install-XXXXXX)"
chmod 755 "$work"
# What this script starts, stopped at its end: the program (until it has
# been waited for), the window manager and the X server.
program=""
openbox_pid=""
xvfb_pid=""

cleanup() {
  local pid
  for pid in $program $openbox_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

check_name=test-install
source scripts/lib/checks.sh

# ---------------------------------------------------------------- installing
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  fail "cmake --install"
}
app="$prefix/lib/sonvarro-converter"
for file in SonvarroConverter sonvarro-convert evc.exe Res.dll Form.dll Lib.dll Help.chm Help/index.htm Config/UserSettings.ini; do
  [ -f "$app/$file" ] || fail "the application folder lacks $file"
done
[ -x "$app/SonvarroConverter" ] && [ -x "$app/sonvarro-convert" ] && [ -x "$app/evc.exe" ] ||
  fail "the programs are not executable"
for name in SonvarroConverter sonvarro-convert; do
  [ "$(realpath "$prefix/bin/$name")" = "$(realpath "$app/$name")" ] || fail "bin/$name does not lead to the program"
done
[ -f "$prefix/share/man/man1/sonvarro-convert.1.gz" ] || fail "no manual page for sonvarro-convert"
completion="$prefix/share/bash-completion/completions/sonvarro-convert"
[ -f "$completion" ] || fail "no bash completion for sonvarro-convert"
! readelf -d "$app/sonvarro-convert" | grep -q 'Shared library: \[libQt' || fail "sonvarro-convert links Qt"
entry="$prefix/share/applications/sonvarro-converter.desktop"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx 'Icon=sonvarro-converter' "$entry" || fail "the desktop entry names another icon"
for size in 48 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/sonvarro-converter.png"
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x${size}" ] || fail "no ${size}x${size} icon"
done
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
[ "$(PATH="$prefix/bin:/usr/bin:/bin" command -v "$exec_line")" = "$prefix/bin/SonvarroConverter" ] ||
  fail "the desktop entry's Exec ($exec_line) does not find the installed program on the PATH"
pass "cmake --install lays out the application folder, the link on the PATH, the desktop entry and the icons"

# The prefix as installed, to compare with after the run.
snapshot() { (cd "$prefix" && find . -printf '%p %y %m %s\n' | sort && find . -type f -exec sha256sum {} + | sort); }
snapshot >"$work/prefix.before"

# ------------------------------------------------------------------ the user
home="$work/user/home"
data="$work/user/data"
media="$work/user/media"
out="$work/user/converted"
stubs="$work/user/stubs"
mkdir -p "$home" "$data" "$media" "$out" "$stubs" "$work/user/runtime"
chmod 700 "$work/user/runtime"
ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:duration=2" "$media/tone.wav"
# The desktop's file manager is not the test's to start: a stand-in records
# what the program asks it to show.
cat >"$stubs/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/user/opened"
EOF
chmod 755 "$stubs/xdg-open"
chown -R "$user:$group" "$work/user"

as_user() { setpriv --reuid="$user" --regid="$group" --clear-groups "$@"; }
if as_user touch "$app/probe" 2>/dev/null || as_user touch "$prefix/probe" 2>/dev/null; then
  fail "$user can write the prefix"
fi

# --------------------------------------------------------- the X server
start_desktop

# ------------------------------------------------------------ as a user would
# The desktop starts the entry's Exec line, which finds the program on the PATH.
(cd "$home" && exec setpriv --reuid="$user" --regid="$group" --clear-groups env -i \
  DISPLAY="$DISPLAY" HOME="$home" XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$work/user/runtime" LANG=C.UTF-8 \
  PATH="$stubs:$prefix/bin:/usr/bin:/bin" "$exec_line") >"$work/program.log" 2>&1 &
program=$!

# The first visible window whose name matches.
visible() {
  local ids
  ids="$(xdotool search --onlyvisible --name "$1")" || return 1
  echo "${ids%%$'\n'*}"
}
# After start-up the caption carries the version.
wait_for "the main window" 60 visible '^Sonvarro Converter [0-9]'
main="$(visible '^Sonvarro Converter [0-9]')"
settings="$data/sonvarro-converter/Config/UserSettings.ini"
log="$data/sonvarro-converter/log.txt"
[ -f "$settings" ] || fail "the first start did not copy the default settings into $data/sonvarro-converter"
pass "the installed program started as $user, with its data folder made in XDG_DATA_HOME"

# keys_in_dialog SHORTCUT TITLE TEXT: opens a file dialog and answers it.
keys_in_dialog() {
  focus_window "$main"
  xdotool key --clearmodifiers "$1"
  # On a loaded machine the window manager may report the main window active
  # before the program has taken the keyboard back from the dialog before;
  # the key is then lost, and a user would press it again.
  if ! poll 10 visible "^$2\$" >/dev/null; then
    focus_window "$main"
    xdotool key --clearmodifiers "$1"
  fi
  wait_for "the dialog \"$2\"" 20 visible "^$2\$"
  focus_window "$(visible "^$2\$")"
  xdotool type --delay 5 "$3"
  xdotool key Return
  wait_for "the dialog \"$2\" to close" 20 sh -c "! xdotool search --onlyvisible --name '^$2\$'"
}
keys_in_dialog ctrl+b "Please select output folder:" "$out"
keys_in_dialog ctrl+o "Open" "$media/tone.wav"
# Adding files through the dialog stores its folder for the next time.
wait_for "the file in the list" 20 grep -q "^InitDir=$media/" "$settings"

focus_window "$main"
xdotool key --clearmodifiers ctrl+s
wait_for "the conversion to start" 30 grep -qF "parameter: $app/evc.exe " "$log"
# The job waits for every process named evc.exe on the machine.
wait_for "the conversion to end (running evc.exe: $(pgrep -d, -x evc.exe || true))" 180 \
  sh -c "! xdotool search --onlyvisible --name '^Converting\$'"
wait_for "the output folder to be shown" 20 grep -qxF -e "$out" -e "$out/" "$work/user/opened"
duration="$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$out/tone.amr" || true)"
awk -v d="$duration" 'BEGIN { exit !(d > 1.8 && d < 2.2) }' || fail "the output $out/tone.amr is not a 2-second file ($duration)"
pass "one file converted into $out/tone.amr (${duration}s)"

close_main_window "$main"
wait_for "the program to end" 30 sh -c "! kill -0 $program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
program=""

# ------------------------------------------------------------ the command line
# The same user converts from a shell, with a name given through standard
# input: the command finds its encoder through the link on the PATH and
# keeps its log in the same per-user data folder.
cli_out="$work/user/cli out"
printf '%s\n' "$media/tone.wav" |
  (cd "$home" && as_user env -i HOME="$home" XDG_DATA_HOME="$data" LANG=C.UTF-8 PATH="$prefix/bin:/usr/bin:/bin" \
    sonvarro-convert -t mp3 -p "Superb Quality" -o "$cli_out" -) >"$work/cli.log" 2>&1 || {
  cat "$work/cli.log" >&2
  fail "sonvarro-convert as $user"
}
duration="$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$cli_out/tone.mp3" || true)"
awk -v d="$duration" 'BEGIN { exit !(d > 1.8 && d < 2.2) }' || fail "sonvarro-convert made no 2-second $cli_out/tone.mp3"
grep -qF "parameter: $app/evc.exe -y -i \"$media/tone.wav\" -acodec mp3 -vn -ab 224 " "$log" ||
  fail "the log in $data/sonvarro-converter lacks the command's line"
profiles="$(as_user env -i HOME="$home" XDG_DATA_HOME="$data" PATH="$prefix/bin:/usr/bin:/bin" bash -c \
  'source "$1"; COMP_WORDS=(sonvarro-convert -t mp3 -p S); COMP_CWORD=4; _sonvarro_convert sonvarro-convert S -p
   printf "%s|" "${COMPREPLY[@]}"' _ "$completion")"
[ "$profiles" = "Superb Quality|" ] || fail "the completion of -p S offers '$profiles'"
pass "sonvarro-convert on the PATH converted as $user into $cli_out, logged in the per-user folder; its completion works"

# ------------------------------------------------------------ where things are
grep -q "^SHWDDir=1" "$settings" || fail "the settings lost the installed default of SHWDDir"
grep -qxF "OutDir=$out"$'\r' "$settings" || fail "the settings do not hold the chosen output folder"
[ "$(stat -c %U "$settings")" = "$user" ] || fail "the settings do not belong to $user"
grep -qF "|Output directory $out/" "$log" || fail "the log lacks the output folder line"
[ ! -e "$home/.local/share/sonvarro-converter" ] || fail "the data went to the home folder despite XDG_DATA_HOME"
snapshot >"$work/prefix.after"
diff "$work/prefix.before" "$work/prefix.after" >&2 || fail "the run changed the prefix"
pass "the settings and the log are in $data/sonvarro-converter, the prefix is as installed"

# ------------------------------------------------------------ the package
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB"
}
deb="$(ls "$work"/package/sonvarro-converter_*.deb)"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
for file in ./usr/bin/SonvarroConverter ./usr/lib/sonvarro-converter/SonvarroConverter ./usr/bin/sonvarro-convert \
  ./usr/lib/sonvarro-converter/sonvarro-convert ./usr/share/man/man1/sonvarro-convert.1.gz \
  ./usr/share/bash-completion/completions/sonvarro-convert \
  ./usr/lib/sonvarro-converter/evc.exe ./usr/lib/sonvarro-converter/Res.dll ./usr/lib/sonvarro-converter/Form.dll \
  ./usr/lib/sonvarro-converter/Lib.dll ./usr/lib/sonvarro-converter/Help.chm ./usr/lib/sonvarro-converter/Help/index.htm \
  ./usr/lib/sonvarro-converter/Config/UserSettings.ini ./usr/share/applications/sonvarro-converter.desktop \
  ./usr/share/icons/hicolor/48x48/apps/sonvarro-converter.png \
  ./usr/share/icons/hicolor/256x256/apps/sonvarro-converter.png; do
  grep -qx "$file" "$work/contents" || fail "the package lacks $file"
done
depends="$(dpkg-deb -f "$deb" Depends)"
# The package that holds a library, under whichever of its names (with /usr
# merged, /lib and /usr/lib are one) the package lists it.
owning_package() {
  local candidate found
  for candidate in "$1" "$(realpath "$1")" "/usr$1" "${1#/usr}"; do
    if found="$(dpkg -S "$candidate" 2>/dev/null)"; then
      echo "${found%%:*}"
      return 0
    fi
  done
  return 1
}
# Every library a program or companion library of the package needs comes
# from a package it depends on; and the ones the program is built on are there.
dpkg-deb -x "$deb" "$work/unpacked"
needed="$(find "$work/unpacked" -type f -exec sh -c 'file -b "$1" | grep -q "^ELF" && readelf -d "$1"' _ {} \; |
  sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | sort -u)"
ldconfig -p >"$work/libraries"
for soname in $needed; do
  path="$(awk -v so="$soname" '$1 == so { print $NF; exit }' "$work/libraries")"
  [ -n "$path" ] || fail "no library $soname on this machine"
  owner="$(owning_package "$path")" || fail "no package holds $path"
  [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] ||
    fail "the package needs $soname (from $owner) but does not depend on $owner: $depends"
done
for want in libqt6widgets6 libavformat libavcodec libopencore-amrnb0 libjpeg62-turbo qt6-qpa-plugins qt6-wayland; do
  [[ "$depends" == *"$want"* ]] || fail "the package does not depend on $want: $depends"
done
recommends="$(dpkg-deb -f "$deb" Recommends)"
[[ "$recommends" == *xchm* ]] || fail "the package does not recommend a viewer for Help.chm: $recommends"
pass "cpack built $(basename "$deb"), holding the program, evc.exe, the libraries, the desktop entry and the icon"
pass "its dependencies: $depends"
