#!/usr/bin/env bash
# KDE Plasma for real: plasmashell drawing the desktop on Xvfb, in a session bus of its own
# (its activity manager started by the bus), settings in a fresh home. The wallpaper is set
# through set_wallpaper, which sends Plasma a script, and the root window, read back, must show
# the picture stretched over the screen. First, a shell whose administrator forbade scripts
# (the refusal is checked); then a plain one: first apply, second apply, an odd folder name.
set -euo pipefail
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
private_x_session "$0" "$@" -- plasmashell gdbus

work=$WORK
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pictures="$work/壁纸 测试 dir/家 目录"
mkdir -p "$pictures"
shoot() { import -window root "$1"; }
shell_call() { # method args...
  local method=$1
  shift
  gdbus call --session --dest org.kde.plasmashell --object-path /PlasmaShell \
    --method "org.kde.PlasmaShell.$method" "$@"
}
start_shell() {
  plasmashell --no-respawn >>"$work/plasmashell.log" 2>&1 &
  shell=$!
  for _ in $(seq 300); do
    gdbus introspect --session --dest org.kde.plasmashell --object-path /PlasmaShell \
      >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "FAIL: plasmashell did not start"; tail -30 "$work/plasmashell.log"; exit 1
}
apply() {
  XDG_CURRENT_DESKTOP=KDE QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp" 2>"$work/apply.err"
}

# The administrator's kiosk rule against desktop scripts, which Plasma reads at its start.
mkdir -p "$HOME/.config"
printf '[KDE Action Restrictions]\nplasma-desktop/scripting_console=false\n' \
  >"$HOME/.config/kdeglobals"
start_shell
picture 'rgb(220,30,30)' 'rgb(30,30,220)'
expect_refused "scripts forbidden" "管理员" \
  env XDG_CURRENT_DESKTOP=KDE QT_QPA_PLATFORM=xcb "$tool" "$pictures/Mix.bmp"
kill "$shell"
wait "$shell" 2>/dev/null || true
rm "$HOME/.config/kdeglobals"

start_shell
# The desktop is there once a script sees it.
for _ in $(seq 100); do
  [ "$(shell_call evaluateScript 'print(desktops().length)' 2>/dev/null)" = "('1',)" ] && break
  sleep 0.2
done
sleep 2
first_and_second_apply 3
[ "$failures" -eq 0 ] || { echo "--- plasmashell log (tail)"; tail -30 "$work/plasmashell.log"; exit 1; }
