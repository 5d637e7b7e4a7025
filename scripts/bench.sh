#!/usr/bin/env bash
# Builds a Release build and prints the benchmark figures.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh" --tests
build="$top/build/bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEVUNA_TESTS=OFF >/dev/null
cmake --build "$build"
"$build/bench/calendar_bench"
QT_QPA_PLATFORM=offscreen "$build/bench/notes_bench"
"$build/bench/wallpaper_bench"
"$build/bench/memo_bench"
QT_QPA_PLATFORM=offscreen "$build/bench/calendarview_bench"
bash "$top/bench/startup.sh" "$build/src/app/tevuna"
