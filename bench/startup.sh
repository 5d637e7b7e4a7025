#!/usr/bin/env bash
# Start-up to the first painted main window: the program paints, saves a picture of its
# window and ends. Prints the median wall time of several warm runs under Xvfb.
set -euo pipefail
program=$1
runs=${RUNS:-9}
home=$(mktemp -d)
trap 'rm -rf "$home"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true' EXIT
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
times=()
for i in $(seq 0 "$runs"); do
  start=$(date +%s%N)
  DISPLAY=$display TEVUNA_HOME="$home" TEVUNA_SCREENSHOT="$home/shot.png" "$program"
  end=$(date +%s%N)
  # The first run creates the working files and warms the caches: not counted.
  [ "$i" -gt 0 ] && times+=($(( (end - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to first paint (process start to exit after painting), ms: median ${sorted[$(( ${#sorted[@]} / 2 ))]} (min ${sorted[0]}, max ${sorted[-1]}, ${#sorted[@]} runs)"
