#!/usr/bin/env bash
# Starts the real program in an empty application folder on a 1024 x 768 X server and checks
# what a first start leaves behind: the settings files with their exact bytes, the notes
# database, the default background and a painted main window.
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
shot="$home/shot.png"

TEVUNA_HOME="$home" TEVUNA_SCREENSHOT="$shot" timeout 120 \
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$program"

fail() { echo "FAIL: $*"; exit 1; }
[ -s "$shot" ] || fail "no screenshot"
[ -f "$home/Data/UserData.db" ] || fail "no notes database"
[ -f "$home/source/DeskTopBG/A1.bmp" ] || fail "no default background"
[ "$(od -An -c "$home/Data/FormSize.ini" | tr -s ' ')" = "$(printf '1\r\n750\r\n500\r\n137\r\n119\r\n' | od -An -c | tr -s ' ')" ] \
  || fail "FormSize.ini: $(od -c "$home/Data/FormSize.ini")"
[ "$(od -An -c "$home/Data/configSetBg.ini")" = "$(printf '1\r\n' | od -An -c)" ] || fail "configSetBg.ini"
echo "first start: files and screenshot as expected"
