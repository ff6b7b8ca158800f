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
# Entering the largest enterprise: its stands cover it.
if [ -x build/bench/bench_enterprise_map ]; then
  build/bench/bench_enterprise_map --smoke
fi
# The stand generator's largest stand, and its close-tree removal against the pairwise loop.
if [ -x build/bench/bench_generator ]; then
  build/bench/bench_generator --smoke
fi
# The enterprise inventory: kept model stands and model stands read afresh give the same run.
if [ -x build/bench/bench_enterprise_inventory ]; then
  build/bench/bench_enterprise_inventory --smoke
fi
# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer: a read of freed memory, or of a
# window already being taken down, passes an ordinary run unnoticed. float-cast-overflow (which gcc's
# "undefined" leaves out) catches a real too large for the whole number it is turned into, as a position
# far off a picture would be.
# Line tables only (-g1): the reports still name file and line, and the build takes a third of the disk.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" >/dev/null
cmake --build build-sanitize -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" --timeout 900
build-sanitize/bench/bench_inventory --smoke
build-sanitize/bench/bench_window_run --smoke
build-sanitize/bench/bench_enterprise_map --smoke
build-sanitize/bench/bench_generator --smoke
build-sanitize/bench/bench_enterprise_inventory --smoke
# The readers' fuzz targets, 20 s each, so that a new fault in a reader fails here (tools/fuzz.sh runs
# them as long as asked).
bash tools/fuzz.sh 20
