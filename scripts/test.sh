#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors under AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs every test through ctest.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh" --tests
build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTEVUNA_WERROR=ON -DTEVUNA_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
# Qt and fontconfig keep caches for the life of the process: leaks are not faults here.
export ASAN_OPTIONS=detect_leaks=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
