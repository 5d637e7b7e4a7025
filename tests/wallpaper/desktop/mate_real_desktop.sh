#!/usr/bin/env bash
# MATE for real: caja drawing the desktop on Xvfb, in a session bus of its own with dconf's
# service, settings in a fresh home. The wallpaper is set through set_wallpaper and the root
# window, read back, must show the picture stretched over the screen. First apply, second
# apply, an odd folder name, and no session bus (gsettings then keeps nothing).
set -euo pipefail
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
private_x_session "$0" "$@" -- caja gsettings /usr/libexec/dconf-service

work=$WORK
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pictures="$work/壁纸 测试 dir/家 目录"
mkdir -p "$pictures"
shoot() { import -window root "$1"; }

caja --force-desktop --no-default-window >"$work/caja.log" 2>&1 &
sleep 4
apply() {
  XDG_CURRENT_DESKTOP=MATE QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp" 2>"$work/apply.err"
}

first_and_second_apply 2
options=$(gsettings get org.mate.background picture-options)
[ "$options" = "'stretched'" ] || fail "the fill mode is $options, not 'stretched'"

# No session bus: gsettings keeps nothing and says nothing; the read-back tells the user.
expect_refused "no session bus" "没有接受新背景" \
  env DBUS_SESSION_BUS_ADDRESS=unix:path="$work/no-bus" \
  XDG_CURRENT_DESKTOP=MATE QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp"
check_screen "after the refused apply" "30 200 30" "230 230 40"
[ "$failures" -eq 0 ] || { echo "--- caja log (tail)"; tail -20 "$work/caja.log"; exit 1; }
