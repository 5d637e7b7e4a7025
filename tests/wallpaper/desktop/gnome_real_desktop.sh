#!/usr/bin/env bash
# GNOME Shell for real: gnome-shell --x11 as window manager and compositor on Xvfb (GLX by
# Mesa), in a session bus of its own with dconf's service, settings in a fresh home. The
# wallpaper is set through set_wallpaper and the composited screen, read back, must show the
# picture stretched over it. First apply, second apply, a folder name that a careless URI
# would break, and a key an administrator locked.
set -euo pipefail
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
private_x_session "$0" "$@" -- gnome-shell gsettings dconf xdotool /usr/libexec/dconf-service

work=$WORK
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pictures="$work/壁纸 测试 dir/it's 100% #家"
mkdir -p "$pictures"
shoot() { import -window root "$1"; }

# Where systemd's seat folder exists the shell asks logind on the system bus and gives up
# when it cannot connect; a bus of our own, empty, answers that logind is not there.
dbus-daemon --session --nofork --address="unix:path=$work/system-bus" &
for _ in $(seq 50); do [ -S "$work/system-bus" ] && break; sleep 0.1; done
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system-bus"

# The shell's animations off: the screen settles at once after a change.
gsettings set org.gnome.desktop.interface enable-animations false
gnome-shell --x11 >"$work/shell.log" 2>&1 &
for _ in $(seq 300); do
  grep -q 'GNOME Shell started' "$work/shell.log" && break
  sleep 0.1
done
grep -q 'GNOME Shell started' "$work/shell.log" || {
  echo "FAIL: gnome-shell did not start"; tail -30 "$work/shell.log"; exit 1; }
# It starts in the overview; Escape shows the desktop.
sleep 1
xdotool key Escape
sleep 1

apply() {
  XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp" 2>"$work/apply.err"
}
first_and_second_apply 2
options=$(gsettings get org.gnome.desktop.background picture-options)
[ "$options" = "'stretched'" ] || fail "the fill mode is $options, not 'stretched'"

# An administrator's lock (dconf's lockdown, here a profile of its own with a locked
# picture): the user is told, and the screen keeps its picture.
mkdir -p "$work/locked.d/locks"
printf "[org/gnome/desktop/background]\npicture-uri='file:///usr/share/backgrounds/locked.png'\n" \
  >"$work/locked.d/00-background"
echo /org/gnome/desktop/background/picture-uri >"$work/locked.d/locks/00-background"
dconf compile "$work/locked.db" "$work/locked.d"
printf 'user-db:user\nfile-db:%s\n' "$work/locked.db" >"$work/locked.profile"
expect_refused "a locked key" "锁定" \
  env DCONF_PROFILE="$work/locked.profile" XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=xcb \
  "$tool" "$pictures/Mix.bmp"
check_screen "after the refused apply" "30 200 30" "230 230 40"
[ "$failures" -eq 0 ] || { echo "--- gnome-shell log (tail)"; tail -30 "$work/shell.log"; exit 1; }
