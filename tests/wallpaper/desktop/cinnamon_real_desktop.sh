#!/usr/bin/env bash
# Cinnamon for real: its background daemon csd-background, which draws the picture on the
# root window that Cinnamon's compositor shows, on Xvfb in a session bus of its own with
# dconf's service, settings in a fresh home. GNOME's session manager is stood in by its one
# call the daemon waits for. First apply, second apply, an odd folder name, and gsettings
# missing.
set -euo pipefail
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
private_x_session "$0" "$@" -- csd-background gsettings /usr/bin/python3 \
  /usr/libexec/dconf-service

work=$WORK
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pictures="$work/壁纸 测试 dir/家 目录"
mkdir -p "$pictures"
shoot() { import -window root "$1"; }

/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/session_manager_stand_in.py" \
  >"$work/session.log" 2>&1 &
for _ in $(seq 100); do grep -q ready "$work/session.log" && break; sleep 0.1; done
# The daemon's looks for the user's account on the system bus: there is none here.
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-system-bus" csd-background >"$work/csd.log" 2>&1 &
sleep 2

apply() {
  XDG_CURRENT_DESKTOP=X-Cinnamon QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp" \
    2>"$work/apply.err"
}
first_and_second_apply 2
options=$(gsettings get org.cinnamon.desktop.background picture-options)
[ "$options" = "'stretched'" ] || fail "the fill mode is $options, not 'stretched'"

# gsettings missing from the system: the user is told, and the screen keeps its picture.
mkdir "$work/bin"
expect_refused "gsettings missing" "找不到该程序" \
  env PATH="$work/bin" XDG_CURRENT_DESKTOP=X-Cinnamon QT_QPA_PLATFORM=xcb "$tool" \
  "$pictures/Mix.bmp"
check_screen "after the refused apply" "30 200 30" "230 230 40"
[ "$failures" -eq 0 ] || { echo "--- csd-background log (tail)"; tail -20 "$work/csd.log"; exit 1; }
