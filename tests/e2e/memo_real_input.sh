#!/usr/bin/env bash
# Drives the real program with real X input (a window manager, pointer clicks and key presses
# through the X server) and checks the memo bytes it leaves in the notes database: loading,
# viewing, undo, focus changes and the timer must not rewrite a memo; what is typed is saved
# by the date change, also when the program is killed right after; a second start on the same
# folder writes nothing back; after a failed load no other day's memo is stored.
set -euo pipefail
program=$1

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
home="$work/home"
db="$home/Data/UserData.db"
start_x_session
export TEVUNA_HOME="$home"

# ------------------------------------------------------------------------------ helpers
stored() { sqlite3 "$db" "select hex(data) from UserCon where conIndex='$1'"; }
everything() { sqlite3 "$db" "select conIndex, hex(data) from UserCon order by rowid"; }
# How often an ASCII word occurs in a stored memo: RTF keeps ASCII letters as they are.
count_word() { sqlite3 "$db" "select data from UserCon where conIndex='$1'" | grep -ao "$2" | wc -l; }
seed() { sqlite3 "$db" "insert into UserCon(conIndex, data) values('$1', readfile('$2'))"; }
# Polls for a word in a stored memo; generous, the program runs under the sanitizers.
wait_for_word() {
  for _ in $(seq 200); do [ "$(count_word "$1" "$2")" -ge 1 ] && return 0; sleep 0.1; done
  return 1
}

year=$(date +%Y)
month=$(date +%m)
today=$(date +%-d)
key() { printf '%s%s%02d' "$year" "$month" "$1"; }
# Days of every month, none of them today: every click on one of them is a change of day.
days=()
for d in 3 6 9 12 15 18 21 24 27; do [ "$d" -ne "$today" ] && days+=("$d"); done

start_program() {
  launch_program
  read -r width height < <(xdotool getwindowgeometry --shell "$window" |
    sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd' ')
  # The main window's layout: the memo panel at (315, 80) grows with the window; the calendar
  # takes its top 255 pixels, with the day grid at (8, 40) in it, and the memo box the rest.
  local dx=$((width - 742)) dy=$((height - 466))
  panel_w=$((423 + dx))
  panel_h=$((381 + dy))
  grid_x=$((315 + 2 + 8))
  grid_y=$((80 + 2 + 40))
  local grid_w=$((panel_w - 4 - 15))
  cell_w=$(((grid_w - 6) / 7 - 1))
  cell_h=$(((255 - 67 - 18) / 6 - 1))
  close_x=$((702 + dx + 19))
  # The memo is loaded before the window shows; the window manager places and focuses it after.
  sleep 2
}
click_at() {
  xdotool mousemove --window "$window" --sync "$1" "$2"
  xdotool click 1
  sleep 0.5
}
# Sunday is the first column; rows 1..6 follow the header row.
click_day() {
  local first=$(($(date -d "$year-$month-01" +%u) % 7 + 1))
  local i=$((first + $1 - 1))
  local row=$(((i - 1) / 7 + 1)) col=$(((i - 1) % 7 + 1))
  click_at $((grid_x + 6 + (col - 1) * cell_w + cell_w / 2)) \
    $((grid_y + 18 + (row - 1) * cell_h + cell_h / 2))
}
# The weekday header takes the focus from the memo box and changes no date.
click_header() { click_at $((grid_x + 6 + cell_w / 2)) $((grid_y + 9)); }
click_memo() { click_at $((315 + 2 + (panel_w - 4) / 2)) $((80 + 257 + (panel_h - 259) / 2)); }
type_text() {
  xdotool type --delay 50 "$1"
  sleep 0.5
}
# Leaving through the close image as a user does: hover first, then press and release.
click_close() {
  xdotool mousemove --window "$window" --sync $((close_x - 3)) 11
  xdotool mousemove --window "$window" --sync "$close_x" 11
  sleep 0.5
  xdotool click 1
}
wait_ended() {
  for _ in $(seq 300); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

# ------------------------------------------------------------------------------ memos from elsewhere
# A first start makes the folder and the database, and ends once painted, saving nothing.
TEVUNA_SCREENSHOT="$work/first.png" timeout 120 "$program" >>"$work/program.log" 2>&1 ||
  fail "the first start failed: $(cat "$work/program.log")"
[ -f "$db" ] || fail "no notes database after the first start"

undo_day=${days[0]}
foreign_day=${days[1]}
# Neither memo is what the program itself would write, so any rewrite shows in the bytes.
undo_memo=$(
  cat <<'EOF'
{\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 SimSun;}}\f0\fs24 undo seed \'c4\'e3\'ba\'c3\par}
EOF
)
printf '%s' "$undo_memo" >"$work/undo.rtf"
# As another editor writes it: its own header, tables, styles, a binary blob in a destination
# of its own, and lines ending in CR LF.
sed 's/$/\r/' >"$work/foreign.rtf" <<'EOF'
{\rtf1\ansi\ansicpg936\deff1\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f1\fnil\fprq2\fcharset134 \'cb\'ce\'cc\'e5;}{\f2\fswiss\fprq2\fcharset0 Arial;}}
{\colortbl;\red0\green0\blue0;\red255\green0\blue0;\red0\green128\blue0;}
{\stylesheet{\s0\snext0\ql\widctlpar\ltrpar\cf1\kerning1\langfe2052\loch\f1\fs24\lang2052 Normal;}}
{\*\generator Other Editor 2.1;}{\info{\creatim\yr2024\mo3\dy1\hr9\min30}}
{\*\editorprivate \bin6 a;b.c!}
\deftab709\viewscale100\paperw11906\paperh16838\margl1134\margr1134
\pard\plain \s0\ql\widctlpar\ltrpar\cf1\loch\f1\fs24\lang2052{\b\cf2 viewonly}{ \'d6\'d0\'ce\'c4 {\cf3 plain}}\par
\pard\plain \s0\ql{\i\fs28 second line}{\f2 arial}\par }
EOF
seed "$(key "$undo_day")" "$work/undo.rtf"
seed "$(key "$foreign_day")" "$work/foreign.rtf"
failed_day=${days[6]}
printf '%s' '{\rtf1\ansi\ansicpg936 originalfail\par}' >"$work/failed.rtf"
seed "$(key "$failed_day")" "$work/failed.rtf"
undo_before=$(stored "$(key "$undo_day")")
foreign_before=$(stored "$(key "$foreign_day")")
hex() { od -An -v -tx1 "$1" | tr -d ' \n' | tr a-f A-F; }
[ "$undo_before" = "$(hex "$work/undo.rtf")" ] && [ "$foreign_before" = "$(hex "$work/foreign.rtf")" ] ||
  fail "the seeded memos are not stored as written"

start_program

# Ctrl+Z right after a day's memo is loaded has nothing to undo: loading is not an edit.
click_day "$undo_day"
click_memo
xdotool key ctrl+z
sleep 0.5
click_day "${days[2]}"
sleep 12
[ "$(stored "$(key "$undo_day")")" = "$undo_before" ] ||
  fail "ctrl+z after loading changed the stored memo of day $undo_day:
  before: $undo_before
  after:  $(stored "$(key "$undo_day")")"
echo "ok: ctrl+z right after loading leaves the stored memo alone"

# Viewing another editor's memo, through a timer tick and a focus change, and leaving through
# the close image, writes nothing.
click_day "$foreign_day"
sleep 12
click_memo
click_header
click_day "${days[2]}"
click_close
wait_ended "$program_pid" || fail "the close image did not end the program"
[ "$(stored "$(key "$foreign_day")")" = "$foreign_before" ] ||
  fail "viewing changed the stored memo of day $foreign_day:
  before: $foreign_before
  after:  $(stored "$(key "$foreign_day")")"
[ "$(stored "$(key "$undo_day")")" = "$undo_before" ] ||
  fail "leaving changed the stored memo of day $undo_day"
echo "ok: viewing a memo written elsewhere leaves its bytes alone"

# ------------------------------------------------------------------------------ typing
start_program

typed_day=${days[3]}
click_day "$typed_day"
click_memo
type_text "typedword"
click_day "${days[2]}"
wait_for_word "$(key "$typed_day")" typedword ||
  fail "the typed word is not stored for day $typed_day: $(stored "$(key "$typed_day")")"
echo "ok: what is typed is saved when the date changes"

# A second start on the same folder hands over to the running one and writes nothing.
shared_day=${days[4]}
click_day "$shared_day"
click_memo
type_text "olderword"
click_header
wait_for_word "$(key "$shared_day")" olderword ||
  fail "leaving the memo box did not save day $shared_day"
all_before=$(everything)
second_status=0
timeout 20 "$program" >>"$work/program.log" 2>&1 || second_status=$?
[ "$second_status" -eq 0 ] || fail "the second start did not end by itself (status $second_status)"
kill -0 "$program_pid" 2>/dev/null || fail "the running program ended when the second start came"
[ "$(everything)" = "$all_before" ] || fail "the second start changed the stored memos:
  before: $all_before
  after:  $(everything)"
click_memo
xdotool key ctrl+End
type_text " newerword"
click_day "${days[2]}"
wait_for_word "$(key "$shared_day")" newerword ||
  fail "the newer typing is not stored for day $shared_day: $(stored "$(key "$shared_day")")"
# Once each: two copies of the older word would mean an old copy came back and was merged.
[ "$(count_word "$(key "$shared_day")" olderword)" -eq 1 ] ||
  fail "the older word is stored $(count_word "$(key "$shared_day")" olderword) times"
echo "ok: a second start leaves the running program and its memos alone"

# A memo that cannot be read (the table is away) is not replaced by the day shown before:
# the box is empty, and what is typed then is stored beside the memo, never over it.
click_day "$typed_day"
sqlite3 "$db" "ALTER TABLE UserCon RENAME TO Away"
click_day "$failed_day"
sleep 2
# The message that the memo did not load has the focus: Return closes it, as a user would.
xdotool key Return
sleep 1
sqlite3 "$db" "ALTER TABLE Away RENAME TO UserCon"
click_memo
type_text "failtyped"
click_day "${days[2]}"
wait_for_word "$(key "$failed_day")" failtyped ||
  fail "what was typed after the failed load is not stored: $(stored "$(key "$failed_day")")"
[ "$(count_word "$(key "$failed_day")" originalfail)" -eq 1 ] ||
  fail "the memo that did not load was not kept: $(stored "$(key "$failed_day")")"
[ "$(count_word "$(key "$failed_day")" typedword)" -eq 0 ] ||
  fail "the memo of the day shown before went in under day $failed_day"
[ "$(count_word "$(key "$typed_day")" typedword)" -eq 1 ] ||
  fail "the memo of day $typed_day changed: $(stored "$(key "$typed_day")")"
echo "ok: after a failed load nothing of another day is stored and the memo is kept"

# The date change saves at once: a kill right after it loses nothing.
killed_day=${days[5]}
click_day "$killed_day"
click_memo
word=killword
type_text "$word"
# A timer tick in between would save the memo on its own: then type again, right after it.
if [ "$(count_word "$(key "$killed_day")" "$word")" -ne 0 ]; then
  word=secondkillword
  type_text " $word"
fi
click_day "${days[2]}"
# Time for the click to arrive, not for any save to finish later.
sleep 2
kill -9 "$program_pid"
wait "$program_pid" 2>/dev/null || true
[ "$(count_word "$(key "$killed_day")" "$word")" -ge 1 ] ||
  fail "the memo typed before the kill is lost for day $killed_day: $(stored "$(key "$killed_day")")"
echo "ok: a kill right after the date change loses nothing"
echo "memo real input: all checks passed"
