# Sourced by the scripts that drive the program on a virtual X server.
# start_program: builds and starts the program with the README's start
# command in the background, sets $app to its process and returns once that
# process has become the program. window_named PATTERN: prints the first
# visible window whose caption matches, waiting up to 30 seconds.

start_program() {
  bash scripts/run.sh >/dev/null 2>&1 &
  app=$!
  # run.sh builds first and then becomes the program; wait for that.
  for _ in $(seq 1 1800); do
    case "$(readlink "/proc/$app/exe" 2>/dev/null || true)" in
      */SonvarroConverter) return 0 ;;
    esac
    kill -0 "$app" 2>/dev/null || { echo "the program did not start" >&2; return 1; }
    sleep 1
  done
  echo "the program did not start within 30 minutes" >&2
  return 1
}

window_named() {
  local id
  for _ in $(seq 1 300); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)" || true
    [ -z "$id" ] || { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  return 1
}

# start_on_desktop SCRATCH: starts the virtual desktop of scripts/desktop.sh
# and the program on it; at exit the program and the desktop are stopped and
# the folder SCRATCH is removed.
start_on_desktop() {
  scratch="$1"
  bash scripts/desktop.sh start >/dev/null
  trap stop_on_desktop EXIT
  start_program
}

stop_on_desktop() {
  kill "${app:-}" 2>/dev/null || true
  wait "${app:-}" 2>/dev/null || true
  bash scripts/desktop.sh stop
  rm -rf "$scratch"
}

# shoot_window PICTURE: saves the screen cut to what is not black (the
# windows on the virtual X server's black screen), with that black painted
# a desktop blue so that a shaped window's outline shows, and a margin of it.
shoot_window() {
  import -window root "$1.full.png"
  local box
  box="$(convert "$1.full.png" -trim -format "%wx%h%O" info:)"
  convert "$1.full.png" -fill "#4d6580" -draw "color 0,0 floodfill" -crop "$box" +repage \
    -bordercolor "#4d6580" -border 12 "$1"
  rm -f "$1.full.png"
}
