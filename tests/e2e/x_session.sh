# Sourced by the real-input tests: a display of their own with a window manager, a cleanup
# that ends everything they started, and the small helpers they share.
#   work: a fresh folder, removed at the end; pids: processes ended at the end, newest first.
work=$(mktemp -d)
pids=()
# Ends what was started, the newest first: the program, the window manager (and its bus),
# then the X server, which removes its socket only when it ends by itself.
stop_x_session() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "${pids[i]}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  pids=()
}
cleanup() {
  local status=$?
  # What the program said, for a failure to be understood from the test log alone.
  if [ "$status" -ne 0 ] && [ -s "$work/program.log" ]; then
    echo "--- the program's output (last lines):"
    tail -n 30 "$work/program.log"
  fi
  stop_x_session
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# Starts Xvfb on a number it picks itself, then a window manager (openbox unless given), on a
# screen of the given size (1024x768 unless given).
start_x_session() {
  local wm=${1:-openbox} size=${2:-1024x768}
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "the X server did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
  unset QT_QPA_PLATFORM QT_IM_MODULE XMODIFIERS WAYLAND_DISPLAY
  export LC_ALL=C.UTF-8
  case $wm in
  openbox)
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    pids+=($!)
    ;;
  xfwm4)
    # Its settings come over a session bus; without them it leaves client moves and resizes
    # undone. A bus of its own, ended with it, and no accessibility bus.
    rm -f "$work/bus"
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" \
      >"$work/bus.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.1; done
    [ -s "$work/bus" ] || fail "no session bus: $(cat "$work/bus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus") NO_AT_BRIDGE=1 \
      XDG_CONFIG_HOME="$work/xdg" xfwm4 --compositor=off --sm-client-disable \
      >"$work/wm.log" 2>&1 &
    pids+=($!)
    ;;
  esac
  # Windows are placed and focused by the window manager only once it manages the screen.
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "the window manager did not start: $(cat "$work/wm.log")"
}

# Starts the program under test (in $program) with its output in the log: program_pid, and
# window, the id of its main window once that shows.
program_pid=
window=
launch_program() {
  "$program" >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  window=$(timeout 60 xdotool search --sync --all --onlyvisible --pid "$program_pid" \
    --name Tevuna | head -n1) || true
  [ -n "$window" ] || fail "no main window: $(cat "$work/program.log")"
}

# The id of a visible window of a process whose name matches, waiting for it to appear.
find_window() {
  timeout "${3:-60}" xdotool search --sync --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null |
    head -n1
}
# True while no visible window of the process has that name.
window_gone() {
  for _ in $(seq 100); do
    [ -z "$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
# A window (the whole screen without one) as a PNG, kept for a person to look at. Windows
# are taken one by one: under Xvfb the screen shows a dialog opened over another window black
# although it is drawn (a bare Qt program does the same).
screenshot() {
  [ -n "${SHOTS:-}" ] || return 0
  mkdir -p "$SHOTS"
  sleep 0.7 # a window that has just appeared is painted a moment later
  if [ -n "${2:-}" ]; then
    xwd -id "$2" -silent | convert xwd:- "$SHOTS/$1.png" 2>/dev/null || true
  else
    xwd -root -silent | convert xwd:- "$SHOTS/$1.png" 2>/dev/null || true
  fi
}
