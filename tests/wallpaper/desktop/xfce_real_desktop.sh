#!/usr/bin/env bash
# XFCE for real: xfdesktop and xfwm4 on Xvfb in a session bus of their own, xfconfd started by
# the bus, settings in a fresh home. The wallpaper is set through set_wallpaper and the root
# window, read back, must show the picture stretched over the screen. First apply, second
# apply (xfdesktop ignores an unchanged path), an odd folder name, and no settings daemon.
set -euo pipefail
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
private_x_session "$0" "$@" -- xfdesktop xfwm4 xfconf-query

work=$WORK
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pictures="$work/壁纸 测试 dir/家 目录"
mkdir -p "$pictures"
shoot() { import -window root "$1"; }

xfwm4 >"$work/xfwm4.log" 2>&1 &
xfdesktop --disable-wm-check >"$work/xfdesktop.log" 2>&1 &
for _ in $(seq 100); do
  xfconf-query -c xfce4-desktop -l 2>/dev/null | grep -q last-image && break
  sleep 0.1
done
apply() {
  XDG_CURRENT_DESKTOP=XFCE QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp" 2>"$work/apply.err"
}

first_and_second_apply 2
# Exactly one copy stays, the one on screen.
copies=$(find "$pictures" -name 'Mix-*.bmp' | wc -l)
[ "$copies" -eq 1 ] || fail "$copies copies of Mix.bmp are left, one was expected"

# No session bus, so no settings daemon: the user is told, and the screen keeps its picture.
expect_refused "no settings daemon" "无法读取 XFCE 桌面设置" \
  env DBUS_SESSION_BUS_ADDRESS=unix:path="$work/no-bus" XDG_CURRENT_DESKTOP=XFCE \
  QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp"
check_screen "after the refused apply" "30 200 30" "230 230 40"
[ "$failures" -eq 0 ] || { echo "--- xfdesktop log (tail)"; tail -20 "$work/xfdesktop.log"; exit 1; }
