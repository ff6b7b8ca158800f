#!/usr/bin/env bash
# Builds the readers' fuzz targets (tests/fuzz/: clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a fixed time. A crash, a sanitizer report,
# a broken reader promise, a leak or an input slower than 10 s fails the run; the input is kept in
# build-fuzz/fuzz/artifacts/ and the run's log in build-fuzz/fuzz/logs/.
#
#   bash tools/fuzz.sh                        # every target 20 s (what tools/test.sh runs)
#   bash tools/fuzz.sh 3600 fuzz_boundary     # one target (or several) for an hour
#
# New inputs that reach new code are kept in build-fuzz/fuzz/corpus/<target>/, so a later run goes on
# from there. Reproduce a crash with: build-fuzz/fuzz/<target> <artifact file>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
jobs=${JOBS:-$(nproc)}
bash tools/setup.sh

cmake -S . -B build-fuzz -DTOLVEK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build build-fuzz --target fuzz_targets -j"$jobs"

out=build-fuzz/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$out"/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] && targets+=("$(basename "$f")")
  done
fi
mkdir -p "$out/artifacts" "$out/logs"
# The readers are Qt-free: a leak there is a fault of ours (the window tests turn leak detection off).
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/logs/$t.log"
  if "$out/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$out/artifacts/$t-" "$out/corpus/$t" "$out/seeds/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf '%-22s ok      %12s runs %8s/s\n' "$t" "$runs" "$rate"
  else
    printf '%-22s FAILED  (log: %s)\n' "$t" "$log"
    tail -n 40 "$log"
    failed+=("$t")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that failed: ${failed[*]}"; exit 1; }
