# Sourced by the scripts that check an installed program. Before sourcing,
# set check_name (the prefix of every line) and work (the scratch folder,
# whose program.log is shown on failure); $program is the process the script
# waits for, empty when none.
#   fail WHY...       says why the check failed, shows the program's output, exits 1
#   pass WHAT...      says what held
#   wait_for WHAT SECONDS COMMAND...   polls COMMAND every tenth of a second,
#                     failing after SECONDS or when the program has ended

fail() {
  echo "$check_name: FAILED: $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- the program's output:" >&2
    cat "$work/program.log" >&2
  fi
  exit 1
}

pass() { echo "$check_name: ok: $*"; }

# The program must not have ended while the script waits for it.
alive() { [ -z "${program:-}" ] || kill -0 "$program" 2>/dev/null; }

wait_for() {
  local what="$1" seconds="$2"
  shift 2
  local tries=$((seconds * 10))
  while ! "$@" >/dev/null 2>&1; do
    alive || fail "the program ended while waiting for $what"
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "waited ${seconds}s for $what"
    sleep 0.1
  done
}

# start_desktop: an X server of the script's own (any free display, open to
# every local user) with a window manager; sets DISPLAY, xvfb_pid and
# openbox_pid, which the script stops at its end.
start_desktop() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  wait_for "the X server" 20 test -s "$work/display"
  export DISPLAY=":$(head -n1 "$work/display")"
  wait_for "the X server to answer" 20 xdpyinfo
  openbox >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  wait_for "the window manager" 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}
