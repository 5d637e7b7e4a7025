#!/usr/bin/env bash
# sway, headless, with Debian's stock configuration (its own swaybg showing sway's picture):
# the wallpaper is set through set_wallpaper and the screen, read back with grim, must show
# the picture stretched over it. First apply, second apply of the same path, a folder name
# sway would run as a command, and a picture that cannot be read (told, screen unchanged).
# sway refuses to run as root, so as root the test runs it as a user of its own.
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
cleanup() {
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null || true
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
(cd "$work" && as_user env -i PATH="$PATH" "${env_vars[@]}" sway -c /etc/sway/config \
  >"$work/sway.log" 2>&1) &
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
         ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" LC_ALL=C.UTF-8)

# The mean colour of a box of the screen, as "R G B" in 0..255.
colour_at() { # shot x y w h
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize 1x1\! -depth 8 txt:- |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | awk '{printf "%d %d %d", $1, $2, $3}'
}
near() { # "R G B" "R G B"
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ");
    for (i = 1; i <= 3; ++i) if ((x[i] - y[i]) ^ 2 > 30 ^ 2) exit 1 }'
}
failures=0
# The screen must show the left and right halves of the picture, stretched: the box in the
# middle of each half, below sway's bar at the top.
check_screen() { # what left right
  as_user "${session[@]}" grim "$work/shot.png"
  local size w h left right
  size=$(identify -format '%w %h' "$work/shot.png")
  w=${size% *}; h=${size#* }
  left=$(colour_at "$work/shot.png" $((w / 8)) $((h / 3)) $((w / 4)) $((h / 3)))
  right=$(colour_at "$work/shot.png" $((w * 5 / 8)) $((h / 3)) $((w / 4)) $((h / 3)))
  if near "$left" "$2" && near "$right" "$3"; then
    echo "ok: $1 (screen ${w}x$h shows $left | $right)"
  else
    echo "FAIL: $1: the screen shows $left | $right, the picture is $2 | $3"
    cp "$work/shot.png" "${TMPDIR:-/tmp}/tevuna-sway-fail.png" || true
    failures=$((failures + 1))
  fi
}
picture() { # left right (ImageMagick colours) -> Mix.bmp, 64x48, two halves
  convert -size 32x48 "xc:$1" -size 32x48 "xc:$2" +append -type TrueColor BMP3:"$pictures/Mix.bmp"
  chown "$user" "$pictures/Mix.bmp"
}
apply() {
  as_user "${session[@]}" "$work/set_wallpaper" "$pictures/Mix.bmp" 2>"$work/apply.err"
}

picture 'rgb(220,30,30)' 'rgb(30,30,220)'
apply || { echo "FAIL: first apply: $(cat "$work/apply.err")"; failures=$((failures + 1)); }
sleep 1
check_screen "first apply" "220 30 30" "30 30 220"

# The same path again, with new content: sway must read it afresh.
picture 'rgb(30,200,30)' 'rgb(230,230,40)'
apply || { echo "FAIL: second apply: $(cat "$work/apply.err")"; failures=$((failures + 1)); }
sleep 1
check_screen "second apply" "30 200 30" "230 230 40"

if find "$work" -name ran-by-sway -type f | grep -q .; then
  echo "FAIL: sway ran a command from the picture's folder name"
  failures=$((failures + 1))
fi

# A picture sway could not open: the user is told, and the screen keeps the last picture.
chmod 000 "$pictures/Mix.bmp"
if apply; then
  echo "FAIL: an unreadable picture was reported as set"
  failures=$((failures + 1))
elif grep -q "无法读取壁纸图片" "$work/apply.err"; then
  echo "ok: unreadable picture told: $(cat "$work/apply.err")"
else
  echo "FAIL: unreadable picture: unexpected message: $(cat "$work/apply.err")"
  failures=$((failures + 1))
fi
sleep 1
check_screen "after the refused picture" "30 200 30" "230 230 40"

# No sway to ask: the user is told.
chmod 644 "$pictures/Mix.bmp"
if as_user "${session[@]}" SWAYSOCK="$runtime/none.sock" "$work/set_wallpaper" "$pictures/Mix.bmp" \
  2>"$work/apply.err"; then
  echo "FAIL: a missing sway was reported as success"; failures=$((failures + 1))
elif grep -q "无法设置 sway 桌面背景：" "$work/apply.err"; then
  echo "ok: no sway told: $(cat "$work/apply.err")"
else
  echo "FAIL: no sway: unexpected message: $(cat "$work/apply.err")"; failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] || { echo "--- sway log (tail)"; tail -20 "$work/sway.log"; exit 1; }
