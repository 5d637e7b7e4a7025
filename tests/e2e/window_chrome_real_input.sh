#!/usr/bin/env bash
# Drives the main window's own chrome with real X input under each window manager at hand:
# a drag of the background by the left, middle and right button moves the window by the drag
# and no further once released; every edge and corner resizes it, also where controls lie
# under the sizing frame (the left panel along the bottom, the pictures along the top); the
# minimise picture minimises it; the close picture ends the program, which keeps the size.
set -euo pipefail
program=$1

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
wm=
fail() {
  echo "FAIL ($wm): $*"
  exit 1
}

start_program() {
  launch_program
  wait_state Normal || fail "the main window is not shown as a normal window"
  # The window manager places and focuses the window after it maps.
  sleep 2
}

# ------------------------------------------------------------------------------ helpers
# The window's place and size: gx gy gw gh.
read_geometry() {
  local key value
  while IFS='=' read -r key value; do
    case $key in
    X) gx=$value ;;
    Y) gy=$value ;;
    WIDTH) gw=$value ;;
    HEIGHT) gh=$value ;;
    esac
  done < <(xdotool getwindowgeometry --shell "$window")
}
geometry() {
  read_geometry
  echo "$gx $gy $gw $gh"
}
# Polls for a geometry "x y w h"; generous, the program runs under the sanitizers.
wait_geometry() {
  for _ in $(seq 200); do [ "$(geometry)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
wait_state() {
  for _ in $(seq 200); do
    xprop -id "$window" WM_STATE 2>/dev/null | grep -q "window state: $1" && return 0
    sleep 0.1
  done
  return 1
}
# A drag as a hand makes it, from an absolute point by (dx, dy) in steps, with one button.
drag() {
  local button=$1 x=$2 y=$3 dx=$4 dy=$5
  xdotool mousemove --sync "$x" "$y"
  sleep 0.3
  xdotool mousedown "$button"
  sleep 0.5
  for i in 1 2 3 4 5; do
    xdotool mousemove --sync $((x + dx * i / 5)) $((y + dy * i / 5))
    sleep 0.1
  done
  sleep 0.3
  xdotool mouseup "$button"
  sleep 0.3
}
# Once the button is up the window stays where it is, wherever the pointer goes.
check_released() {
  local expected=$1 what=$2
  xdotool mousemove_relative -- 60 45
  sleep 1
  xdotool mousemove_relative -- -90 -30
  sleep 1
  [ "$(geometry)" = "$expected" ] ||
    fail "$what: the window follows the pointer after the release ($(geometry), not $expected)"
}
# Hovers a picture of the chrome first, as a user does, then clicks it.
click_picture() {
  xdotool mousemove --sync $((gx + $1 - 4)) $((gy + $2))
  sleep 0.3
  xdotool mousemove --sync $((gx + $1)) $((gy + $2))
  sleep 0.5
  xdotool click 1
}

# ------------------------------------------------------------------------------ the checks
# A drag of the background (beside the logo, above the left panel) by each button.
check_drags() {
  local move button dx dy expected
  for move in "1 70 50" "2 -50 40" "3 40 -60"; do
    read -r button dx dy <<<"$move"
    read_geometry
    expected="$((gx + dx)) $((gy + dy)) $gw $gh"
    drag "$button" $((gx + 200)) $((gy + 75)) "$dx" "$dy"
    wait_geometry "$expected" ||
      fail "a drag by button $button moved the window to $(geometry), not $expected"
    check_released "$expected" "the drag by button $button"
    echo "ok ($wm): a drag by button $button moves the window by the drag"
  done
}

# The sizing frame, as points of the window: "name x y dx dy", with W and H its size.
# The left panel reaches the bottom edge at x 4..305; the minimise picture lies in the top
# strip at W - 69..W - 42 and the close picture at W - 40..W - 2.
check_resizes() {
  local name rx ry dx dy ex ey nx ny nw nh W H expected
  while read -r name rx ry dx dy; do
    read_geometry
    W=$gw H=$gh
    ex=$((rx)) ey=$((ry))
    nx=$gx ny=$gy nw=$gw nh=$gh
    case $name in *left*) nx=$((gx + dx)) nw=$((gw - dx)) ;; esac
    case $name in *right*) nw=$((gw + dx)) ;; esac
    case $name in *top*) ny=$((gy + dy)) nh=$((gh - dy)) ;; esac
    case $name in *bottom*) nh=$((gh + dy)) ;; esac
    expected="$nx $ny $nw $nh"
    drag 1 $((gx + ex)) $((gy + ey)) "$dx" "$dy"
    wait_geometry "$expected" ||
      fail "resizing by the $name ($ex, $ey) gave $(geometry), not $expected"
    check_released "$expected" "resizing by the $name"
    echo "ok ($wm): the $name resizes the window"
  done <<'EOF'
left_edge_beside_the_left_panel 1 300 -30 0
right_edge W-2 250 40 0
top_edge_over_the_minimise_picture W-57 1 0 -25
bottom_edge_over_the_left_panel 150 H-2 0 35
top_left_corner 1 1 -20 -20
top_right_corner_over_the_close_picture W-3 2 25 -15
bottom_left_corner 2 H-2 30 30
bottom_right_corner W-2 H-2 -40 -30
EOF
}

# ------------------------------------------------------------------------------ one round
# A window manager, then the checks in the order given: the first press on a fresh window
# is a move in one round and a resize in the other.
run_round() {
  wm=$1
  shift
  local home="$work/home-$wm"
  export TEVUNA_HOME="$home"
  mkdir -p "$home/Data"
  # Scheme, width, height, left, top: room all around on the screen.
  printf '1\r\n750\r\n500\r\n200\r\n150\r\n' >"$home/Data/FormSize.ini"
  start_x_session "$wm" 1280x1024
  start_program
  read_geometry
  [ "$gw $gh" = "750 500" ] || fail "the window does not start at its saved size: $(geometry)"
  local check
  for check in "$@"; do "$check"; done

  # The minimise picture minimises; activating the window brings it back where it was.
  read_geometry
  local before
  before=$(geometry)
  click_picture $((gw - 55)) 11
  wait_state Iconic || fail "the minimise picture did not minimise the window"
  xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN ||
    fail "the minimised window is not hidden: $(xprop -id "$window" _NET_WM_STATE)"
  xdotool windowactivate "$window" 2>/dev/null || true
  wait_state Normal || {
    xdotool windowmap "$window"
    wait_state Normal
  } || fail "the minimised window did not come back"
  wait_geometry "$before" || fail "the window came back at $(geometry), not $before"
  sleep 1
  echo "ok ($wm): the minimise picture minimises the window"

  # The close picture ends the program, which keeps the window's size and place.
  read_geometry
  click_picture $((gw - 21)) 11
  local status=0
  for _ in $(seq 300); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program_pid" 2>/dev/null && fail "the close picture did not end the program"
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
  local saved
  saved=$(tr -d '\r' <"$home/Data/FormSize.ini" | sed -n '2,5p' | paste -sd' ')
  [ "$saved" = "$gw $gh $gx $gy" ] ||
    fail "the saved bounds are '$saved', not the window's '$gw $gh $gx $gy'"
  echo "ok ($wm): the close picture ends the program and keeps the size"
  stop_x_session
}

run_round openbox check_drags check_resizes
if command -v xfwm4 >/dev/null && command -v dbus-daemon >/dev/null; then
  run_round xfwm4 check_resizes check_drags
else
  echo "skipped: xfwm4 is not installed"
fi
echo "window chrome real input: all checks passed"
