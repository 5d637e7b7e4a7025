#!/usr/bin/env bash
# sway, headless, with Debian's stock configuration (its own swaybg showing sway's picture):
# the wallpaper is set through set_wallpaper and the screen, read back with grim, must show
# the picture stretched over it. First apply, second apply of the same path, a folder name
# sway would run as a command, and a picture that cannot be read (told, screen unchanged).
# Then sway with no background of its own and no IPC socket given, as any wlroots compositor:
# our own swaybg client, first and second apply, and a picture swaybg cannot load (told, the
# old background stays). sway refuses to run as root, so as root the test runs it as a user
# of its own.
set -euo pipefail
tool=$1
for program in sway swaybg swaymsg grim convert; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
done
[ -r /etc/sway/config ] || { echo "SKIP: no stock sway configuration"; exit 77; }

user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  user=tevuna-sway-test
  id "$user" >/dev/null 2>&1 || useradd --system --create-home --shell /bin/sh "$user"
fi
as_user() {
  if [ "$(id -un)" = "$user" ]; then "$@"; else runuser -u "$user" -- "$@"; fi
}

work=$(mktemp -d /tmp/tevuna-sway.XXXXXX)
runtime=$work/runtime
sway_pid=
socket=
# sway runs under runuser: it is asked to exit, and the clients it started end with it.
stop_sway() {
  [ -n "$socket" ] && as_user swaymsg -s "$socket" exit >/dev/null 2>&1 || true
  [ -n "$sway_pid" ] && wait "$sway_pid" 2>/dev/null || true
  socket=
  sway_pid=
}
cleanup() {
  stop_sway
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir -m 700 "$runtime"
# The picture folder: a space, Chinese, and a name sway's parser would run.
pictures="$work/壁纸 测试 dir/\$(touch ran-by-sway)"
mkdir -p "$pictures"
cp "$tool" "$work/set_wallpaper"
chown -R "$user" "$work"

env_vars=(XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1
          WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 HOME="$work")
start_sway() { # config
  (cd "$work" && as_user env -i PATH="$PATH" "${env_vars[@]}" sway -c "$1" \
    >>"$work/sway.log" 2>&1) &
  sway_pid=$!
  socket=
  for _ in $(seq 100); do
    socket=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -1 || true)
    [ -n "$socket" ] && [ -S "$runtime/wayland-1" ] && break
    sleep 0.1
  done
  [ -n "$socket" ] || { echo "sway did not start:"; cat "$work/sway.log"; exit 1; }
  session=(env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-1
           SWAYSOCK="$socket" XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland HOME="$work"
           ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" LC_ALL=C.UTF-8
           QT_QPA_PLATFORM=offscreen)
}
start_sway /etc/sway/config

source "$(dirname "${BASH_SOURCE[0]}")/screen_check.sh"
shoot() { as_user "${session[@]}" grim "$1"; }
picture_owner=$user
apply() {
  as_user "${session[@]}" "$work/set_wallpaper" "$pictures/Mix.bmp" 2>"$work/apply.err"
}

first_and_second_apply 1

find "$work" -name ran-by-sway -type f | grep -q . && fail "sway ran a command from the picture's folder name"

# A picture sway could not open: the user is told, and the screen keeps the last picture.
chmod 000 "$pictures/Mix.bmp"
expect_refused "an unreadable picture" "无法读取壁纸图片" apply
sleep 1
check_screen "after the refused picture" "30 200 30" "230 230 40"

# No sway to ask: the user is told.
chmod 644 "$pictures/Mix.bmp"
expect_refused "no sway" "无法设置 sway 桌面背景：" \
  as_user "${session[@]}" SWAYSOCK="$runtime/none.sock" "$work/set_wallpaper" "$pictures/Mix.bmp"

# sway as a plain wlroots compositor: no background of its own, and the program told only
# that it is one (no IPC socket), so it runs swaybg itself.
stop_sway
sed '/^output .* bg /d' /etc/sway/config >"$work/no-background.config"
chown "$user" "$work/no-background.config"
start_sway "$work/no-background.config"
session=("${session[@]/#SWAYSOCK=*/SWAYSOCK=}")
session=("${session[@]/#XDG_CURRENT_DESKTOP=*/TEVUNA_DESKTOP=sway}")
first_and_second_apply 1
# Ended clients nobody reaped (a container's first process may not) do not count.
clients=$(ps -u "$user" -o stat=,comm= | awk '$2 == "swaybg" && $1 !~ /Z/' | wc -l)
[ "$clients" -eq 1 ] || fail "$clients swaybg clients run after the second apply, one was expected"
# A picture that reads but that swaybg cannot decode: the user is told, and the background
# on screen stays.
head -c 4096 /dev/urandom >"$pictures/Mix.bmp"
expect_refused "a broken picture" "已损坏" apply
sleep 1
check_screen "after the broken picture" "30 200 30" "230 230 40"
[ "$failures" -eq 0 ] || { echo "--- sway log (tail)"; tail -20 "$work/sway.log"; exit 1; }
