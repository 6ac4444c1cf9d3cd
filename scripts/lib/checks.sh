# Sourced by the scripts that check an installed program. Before sourcing,
# set check_name (the prefix of every line) and work (the scratch folder,
# whose program.log is shown on failure); $program is the process the script
# waits for, empty when none.
#   fail WHY...       says why the check failed, shows the program's output, exits 1
#   pass WHAT...      says what held
#   wait_for WHAT SECONDS COMMAND...   polls COMMAND every tenth of a second,
#                     failing after SECONDS or when the program has ended
#   poll SECONDS COMMAND...   the same, but returns 1 after SECONDS and 2
#                     when the program has ended
#   start_desktop     an X server with a window manager when one will start
#   focus_window ID   gives a window the keyboard, with or without a window manager
#   close_main_window ID   clicks the main window's own close button

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

poll() {
  local tries=$(($1 * 10))
  shift
  while ! "$@" >/dev/null 2>&1; do
    alive || return 2
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

wait_for() {
  local what="$1" seconds="$2" status=0
  shift 2
  poll "$seconds" "$@" || status=$?
  [ "$status" -ne 2 ] || fail "the program ended while waiting for $what"
  [ "$status" -eq 0 ] || fail "waited ${seconds}s for $what"
}

# A window manager owns the screen while the root window names a check
# window that still exists (the property outlives a window manager that ended).
window_manager_running() {
  local id
  id="$(xprop -root _NET_SUPPORTING_WM_CHECK | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')"
  [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

window_manager_running_or_ended() { window_manager_running || ! kill -0 "$openbox_pid"; }

# start_desktop: an X server of the script's own (any free display, open to
# every local user) with openbox; sets DISPLAY, xvfb_pid and openbox_pid,
# which the script stops at its end. The program needs no window manager
# (its window is frameless and moves itself), so when openbox does not take
# the screen the check says why and goes on without one; window_manager is
# then empty.
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
  window_manager=openbox
  poll 30 window_manager_running_or_ended || true
  if ! window_manager_running; then
    if kill -0 "$openbox_pid" 2>/dev/null; then
      echo "$check_name: note: openbox did not take the screen in 30s; going on without a window manager" >&2
    else
      echo "$check_name: note: openbox ended at start; going on without a window manager" >&2
    fi
    sed "s/^/$check_name: openbox: /" "$work/openbox.log" >&2
    kill "$openbox_pid" 2>/dev/null || true
    openbox_pid=""
    window_manager=""
  fi
}

focus_window() {
  if [ -n "${window_manager:-}" ]; then
    xdotool windowactivate --sync "$1"
  else
    xdotool windowraise "$1" windowfocus --sync "$1"
  fi
}

# The middle of btnWindowClose (640, 28, 25 x 25), in the main window's own
# coordinates: what a user clicks, with or without a window manager.
close_main_window() {
  xdotool mousemove --window "$1" 652 40 click 1
}
