#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly: no debug lines, no Mono or
# Gecko installer, and a prefix of our own (SONVARRO_WINEPREFIX, by default
# build/windows/wine) made once and reused. The program's exit status is
# this script's.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
export WINEPREFIX="${SONVARRO_WINEPREFIX:-$root/build/windows/wine}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine turns the arguments into UTF-16 by the locale's character set: without
# a UTF-8 one, non-ASCII names would not arrive whole.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Tests run in parallel: the first makes the prefix, the others wait for it.
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
  flock -u 9
  exec 9>&-
fi
exec /usr/lib/wine/wine64 "$@"
