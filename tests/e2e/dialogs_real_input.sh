#!/usr/bin/env bash
# The picture window and the confirmation driven with real X input under a window manager:
# the picture window's close button, adding pictures through the real file dialog (a cut-off
# JPEG, a broken file named like a listed picture, a name clash, a name with spaces and
# Chinese), Esc and Enter on the confirmation, and the apply after an unreadable picture.
# Checks the list file, the picture folder and Mix.bmp; screenshots at 100 % and 200 % go to
# the folder given second.
set -euo pipefail
program=$1
shots_root=${2:-}

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
start_x_session openbox 2560x1600

outside="$work/outside"
mkdir -p "$outside/其他 文件夹"
# Pictures from elsewhere, made with ImageMagick: a JPEG cut in half, a broken "A1.bmp", a
# valid BMP also named A1.bmp, and a JPEG whose name has spaces and Chinese.
convert -size 640x480 gradient:red-blue "$outside/full.jpg"
head -c "$(($(stat -c %s "$outside/full.jpg") / 2))" "$outside/full.jpg" >"$outside/cut.jpg"
printf 'not a picture' >"$outside/A1.bmp"
convert -size 320x240 xc:green "BMP3:$outside/其他 文件夹/A1.bmp"
convert -size 800x600 gradient:yellow-green "$outside/照片 春节.jpg"

main=
run() {
  local scale=$1
  home="$work/home-$scale"
  folder="$home/source/DeskTopBG"
  list="$home/Data/BGPicList.ini"
  export TEVUNA_HOME="$home" QT_SCALE_FACTOR=$scale
  SHOTS=${shots_root:+$shots_root/scale-$scale}
  launch_program
  main=$window
  sleep 2
  screenshot main "$main"
}
# A point of the main window, in its own design pixels.
click_main() {
  xdotool mousemove --window "$main" --sync $(($1 * QT_SCALE_FACTOR)) $(($2 * QT_SCALE_FACTOR))
  xdotool click 1
  sleep 0.7
}
click_in() {
  xdotool mousemove --window "$1" --sync $(($2 * QT_SCALE_FACTOR)) $(($3 * QT_SCALE_FACTOR))
  xdotool click 1
  sleep 0.7
}
open_pictures() {
  click_main 158 390 # 选择壁纸
  pictures=$(find_window "$program_pid" 背景图片选择 20)
  [ -n "$pictures" ] || fail "the picture window did not open"
}
# 添加, the file name typed into the real file dialog, Enter; then the message, if any,
# is read from its window and closed with Enter.
add_picture() {
  click_in "$pictures" 144 250
  local dialog
  dialog=$(find_window "$program_pid" '^打开' 20)
  [ -n "$dialog" ] || fail "no file dialog"
  sleep 2
  screenshot file-dialog "$dialog"
  # A dialog still busy reading its folder may miss the first keys, and under a loaded machine
  # (the other tests run beside this one) a typed Chinese name may lose a character: then the
  # name again.
  local try
  for try in 1 2 3 4 5; do
    xdotool windowactivate --sync "$dialog" 2>/dev/null || true
    xdotool key ctrl+a
    xdotool type --delay 120 "$1"
    xdotool key Return
    window_gone "$program_pid" '^打开' && break
    [ "$try" -lt 5 ] || fail "the file dialog stayed open for $1"
  done
  message=
  wait_message 4
  if [ -n "$box" ]; then
    screenshot "message-$2" "$box"
    message=$box
    xdotool key Return
    sleep 0.7
  fi
}
# A message box carries the application's title and nothing else: its id in box, or empty
# when none showed within the given seconds.
wait_message() {
  box=
  for _ in $(seq $(($1 * 10))); do
    box=$(xdotool search --all --onlyvisible --pid "$program_pid" --name '^Tevuna桌面日历$' \
      2>/dev/null | grep -v "^$main\$" | head -n1 || true)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
}
window_xy() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XY]=//p' | paste -sd' '; }
# Drags the window by its background with a button, from a point of its own; it must move by
# the drag and no further once the button is up.
drag_check() {
  local w=$1 x=$2 y=$3 button=$4 before after
  before=$(window_xy "$w")
  xdotool mousemove --window "$w" --sync $((x * QT_SCALE_FACTOR)) $((y * QT_SCALE_FACTOR))
  xdotool mousedown "$button"
  sleep 0.3
  xdotool mousemove_relative --sync 20 10
  sleep 0.3
  xdotool mousemove_relative --sync 20 10
  sleep 0.5
  xdotool mouseup "$button"
  sleep 0.5
  xdotool mousemove_relative --sync 30 30
  sleep 0.7
  after=$(window_xy "$w")
  read -r bx by <<<"$before"
  read -r ax ay <<<"$after"
  [ "$((ax - bx)) $((ay - by))" = "40 20" ] ||
    fail "a drag by button $button moved the window from $before to $after, not by 40 20"
}
files() { (cd "$folder" && ls -1 | sort | tr '\n' '|'); }
list_lines() { iconv -f GBK -t UTF-8 "$list" | tr -d '\r' | tr '\n' '|'; }

for scale in 1 2; do
  run "$scale"

  # The close button completes its click under a real mouse: hover, press, release.
  open_pictures
  screenshot pictures "$pictures"
  xdotool mousemove --window "$pictures" --sync $((500 * scale)) $((10 * scale))
  sleep 0.3
  xdotool mousemove --window "$pictures" --sync $((503 * scale)) $((10 * scale))
  sleep 0.3
  xdotool click 1
  window_gone "$program_pid" 背景图片选择 || fail "the close button left the picture window open"
  echo "ok ($scale): the picture window's close button closes it"

  open_pictures
  for button in 1 3; do drag_check "$pictures" 300 30 "$button"; done
  echo "ok ($scale): the picture window moves by a drag of its background with either button"
  before_files=$(files)
  before_list=$(list_lines)
  for bad in "$outside/cut.jpg" "$outside/A1.bmp"; do
    add_picture "$bad" "$(basename "$bad")"
    [ -n "$message" ] || fail "adding $bad showed no message"
    [ "$(files)" = "$before_files" ] || fail "adding $bad changed the folder: $(files)"
    [ "$(list_lines)" = "$before_list" ] || fail "adding $bad changed the list: $(list_lines)"
  done
  echo "ok ($scale): a cut-off JPEG and a broken picture are refused and leave everything as it was"

  add_picture "$outside/其他 文件夹/A1.bmp" clash
  [ -z "$message" ] || fail "the valid A1.bmp was refused"
  add_picture "$outside/照片 春节.jpg" chinese
  [ -z "$message" ] || fail "the picture with a Chinese name was refused"
  [ "$(list_lines)" = "A1.bmp|A1.bmp|A1(2).bmp|照片 春节.bmp|" ] ||
    fail "the list after two adds: $(list_lines)"
  [ -f "$folder/A1(2).bmp" ] && [ -f "$folder/照片 春节.jpg" ] && [ -f "$folder/照片 春节.bmp" ] ||
    fail "the added pictures are not in the folder: $(files)"
  # Esc closes the window like its close button.
  xdotool key Escape
  window_gone "$program_pid" 背景图片选择 || fail "Esc left the picture window open"
  echo "ok ($scale): a name clash gets a fresh name, a Chinese name with spaces goes in"

  # The confirmation: Esc is no, Enter is yes.
  rm -f "$folder/Mix.bmp"
  click_main 696 59 # 添加到桌面
  ask=$(find_window "$program_pid" InfoFrm 20)
  [ -n "$ask" ] || fail "the confirmation did not open"
  screenshot confirmation "$ask"
  for button in 1 2 3; do drag_check "$ask" 20 130 "$button"; done
  echo "ok ($scale): the confirmation moves by a drag of its background with any button"
  xdotool key Escape
  window_gone "$program_pid" InfoFrm || fail "Esc left the confirmation open"
  sleep 1
  [ ! -f "$folder/Mix.bmp" ] || fail "Esc on the confirmation changed the wallpaper"
  click_main 696 59
  find_window "$program_pid" InfoFrm 20 >/dev/null || fail "the confirmation did not open again"
  xdotool key Return
  for _ in $(seq 100); do [ -f "$folder/Mix.bmp" ] && break; sleep 0.1; done
  [ -f "$folder/Mix.bmp" ] || fail "Enter on the confirmation made no wallpaper"
  screenshot applied
  # A yes earlier in the session does not make the next Esc a yes.
  rm -f "$folder/Mix.bmp"
  click_main 696 59
  find_window "$program_pid" InfoFrm 20 >/dev/null || fail "the confirmation did not open a third time"
  xdotool key Escape
  sleep 1.5
  [ ! -f "$folder/Mix.bmp" ] || fail "Esc after an earlier yes changed the wallpaper"
  echo "ok ($scale): Esc on the confirmation is no, Enter is yes"

  # The added pictures damaged, so the next in the rotation is one of them: named once, then
  # stepped past to A1.bmp.
  printf 'damaged' >"$folder/A1(2).bmp"
  printf 'damaged' >"$folder/照片 春节.bmp"
  click_main 696 59
  find_window "$program_pid" InfoFrm 20 >/dev/null || fail "no confirmation"
  xdotool key Return
  wait_message 20
  [ -n "$box" ] || fail "no message names the unreadable picture"
  screenshot unreadable-picture "$box"
  xdotool key Return # the message naming the picture
  sleep 0.7
  click_main 696 59
  find_window "$program_pid" InfoFrm 20 >/dev/null || fail "no confirmation"
  xdotool key Return
  for _ in $(seq 100); do [ -f "$folder/Mix.bmp" ] && break; sleep 0.1; done
  [ -f "$folder/Mix.bmp" ] || fail "the apply after an unreadable picture made no wallpaper"
  echo "ok ($scale): an unreadable picture is stepped past"

  kill "$program_pid"
  wait "$program_pid" 2>/dev/null || true
done
echo "dialogs real input: all checks passed"
