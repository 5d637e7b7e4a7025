#!/usr/bin/env bash
# Starts the real program twice on one application folder: the second start must not open a
# second editor (it hands over to the first and ends), and after the first is killed the
# next start takes the stale lock over and runs.
set -euo pipefail
program=$1
home=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done; rm -rf "$home"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export TEVUNA_HOME="$home" QT_QPA_PLATFORM=offscreen
wait_for_lock() {
  for _ in $(seq 100); do [ -s "$home/Data/tevuna.lock" ] && return 0; sleep 0.1; done
  return 1
}

"$program" & pids+=($!)
first=$!
wait_for_lock || fail "the first start holds no lock"
sleep 1
kill -0 "$first" || fail "the first start ended"

start=$(date +%s)
timeout 20 "$program" || fail "the second start failed or hung (status $?)"
[ $(( $(date +%s) - start )) -le 10 ] || fail "the second start took too long"
kill -0 "$first" || fail "the first start ended when the second came"

# A crash leaves its lock behind: the next start takes it over.
kill -9 "$first"
wait "$first" 2>/dev/null || true
[ -f "$home/Data/tevuna.lock" ] || fail "no lock left behind by the killed start"
"$program" & pids+=($!)
third=$!
sleep 2
kill -0 "$third" || fail "the start after a crash did not run"
grep -q "^$third\$" "$home/Data/tevuna.lock" || fail "the lock is not the new start's"
echo "second start: one editor per folder, stale lock taken over"
