#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly: no debug lines, no Mono or
# Gecko installer, no display, and a prefix of our own (SONVARRO_WINEPREFIX,
# by default build/windows/wine) made once and reused. The program's exit
# status is this script's.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
export WINEPREFIX="${SONVARRO_WINEPREFIX:-$root/build/windows/wine}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine turns the arguments into UTF-16 by the locale's character set: without
# a UTF-8 one, non-ASCII names would not arrive whole.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
# Windows are made on Wine's null display driver: they exist, take messages
# and can be read back, but nothing is drawn anywhere.
ready="$WINEPREFIX/.sonvarro-prefix-ready"
if [ ! -f "$ready" ]; then
  # Tests run in parallel: the first makes the prefix, the others wait for it.
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$ready" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
    touch "$ready"
  fi
  flock -u 9
  exec 9>&-
fi
exec /usr/lib/wine/wine64 "$@"
