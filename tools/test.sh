#!/usr/bin/env bash
# Sets up, builds and runs every test (core tests and window tests on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600
# Benchmark smoke run: a few repetitions, checks identical results, not timed.
if [ -x build/bench/bench_inventory ]; then
  build/bench/bench_inventory --smoke
fi
# The same run in the main window with the graphics off and on: they must end with the same statistics.
if [ -x build/bench/bench_window_run ]; then
  build/bench/bench_window_run --smoke
fi
