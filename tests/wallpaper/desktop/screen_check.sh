# Sourced by the real-desktop tests: a private X session to run a desktop in, and judging a
# screenshot against the two-colour picture they set. The caller defines shoot FILE (takes a
# screenshot) and pictures (the folder).
failures=0

# Runs the calling script again inside Xvfb and a session bus of its own, with a fresh home
# and runtime folder in $WORK, and exits with its status; skips (77) when a program is
# missing. Inside, it returns at once. The home is set before the bus starts: the settings
# daemons the bus starts take the bus's environment.
private_x_session() { # script args... -- programs...
  [ "${TEVUNA_DESKTOP_INSIDE:-}" = 1 ] && return 0
  local args=() program
  while [ "$1" != -- ]; do args+=("$1"); shift; done
  shift
  for program in xvfb-run dbus-run-session import "$@"; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
  done
  local work status=0
  work=$(mktemp -d /tmp/tevuna-desktop.XXXXXX)
  mkdir -p "$work/home" && mkdir -m 700 "$work/runtime"
  TEVUNA_DESKTOP_INSIDE=1 WORK=$work HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/runtime \
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "${args[@]}" ||
    status=$?
  # Helpers the desktop started may outlive its session, and would hold the test's output
  # open: every process that still has this session's environment is stopped.
  local environ
  for environ in /proc/[0-9]*/environ; do
    grep -qzx "WORK=$work" "$environ" 2>/dev/null &&
      kill "$(basename "$(dirname "$environ")")" 2>/dev/null || true
  done
  rm -rf "$work"
  exit $status
}

# The mean colour of a box of a picture, as "R G B" in 0..255.
colour_at() { # file x y w h
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize 1x1\! -depth 8 txt:- |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
    awk '{printf "%d %d %d", $1, $2, $3}'
}
near() { # "R G B" "R G B"
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ");
    for (i = 1; i <= 3; ++i) if ((x[i] - y[i]) ^ 2 > 30 ^ 2) exit 1 }'
}
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The screen must show the left and right halves of the picture stretched over it: a box in
# the middle of each half, clear of panels at the top and bottom.
check_screen() { # what "left R G B" "right R G B"
  local shot="$work/shot.png" size w h left right
  shoot "$shot"
  size=$(identify -format '%w %h' "$shot")
  w=${size% *}; h=${size#* }
  left=$(colour_at "$shot" $((w / 8)) $((h / 3)) $((w / 4)) $((h / 3)))
  right=$(colour_at "$shot" $((w * 5 / 8)) $((h / 3)) $((w / 4)) $((h / 3)))
  if near "$left" "$2" && near "$right" "$3"; then
    echo "ok: $1 (screen ${w}x$h shows $left | $right)"
  else
    fail "$1: the screen shows $left | $right, the picture is $2 | $3"
    cp "$shot" "${TMPDIR:-/tmp}/tevuna-$(basename "$0" .sh)-fail.png" || true
  fi
}

# Mix.bmp as the program writes it: 24-bit, here 64x48 in two halves; owned by
# $picture_owner when the desktop runs as another user.
picture() { # left right (ImageMagick colours)
  convert -size 32x48 "xc:$1" -size 32x48 "xc:$2" +append -type TrueColor BMP3:"$pictures/Mix.bmp"
  [ -z "${picture_owner:-}" ] || chown "$picture_owner" "$pictures/Mix.bmp"
}

# The first apply, then new content in the same file applied again (desktops that cache by
# path show the old one). The caller defines apply, which writes its message to apply.err.
first_and_second_apply() { # seconds the desktop takes to redraw
  picture 'rgb(220,30,30)' 'rgb(30,30,220)'
  apply || fail "first apply: $(cat "$work/apply.err")"
  sleep "$1"
  check_screen "first apply" "220 30 30" "30 30 220"
  picture 'rgb(30,200,30)' 'rgb(230,230,40)'
  apply || fail "second apply: $(cat "$work/apply.err")"
  sleep "$1"
  check_screen "second apply" "30 200 30" "230 230 40"
}

# A failing apply must exit non-zero with the expected words in its message.
expect_refused() { # what pattern command...
  local what=$1 pattern=$2
  shift 2
  if "$@" 2>"$work/apply.err"; then
    fail "$what was reported as success"
  elif grep -q -- "$pattern" "$work/apply.err"; then
    echo "ok: $what told: $(head -c 300 "$work/apply.err")"
  else
    fail "$what: unexpected message: $(cat "$work/apply.err")"
  fi
}
