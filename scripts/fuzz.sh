#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (default 60 s).
# Crashing inputs land in build/fuzz/; copy them into tests/fuzz/corpus/<target>/ to keep them.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
bash "$top/scripts/deps.sh" --tests
build="$top/build/fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTEVUNA_FUZZ=ON -DTEVUNA_TESTS=OFF -DTEVUNA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build "$build" --target fuzzers
export ASAN_OPTIONS=detect_leaks=0
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=${target##*/fuzz_}
  work="$build/corpus-$name"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  (cd "$build" && "$target" -max_total_time="$seconds" -max_len=65536 "$work" "$top/tests/fuzz/corpus/$name")
done
