#!/usr/bin/env bash
# The full soak: 100,000 random actions on a 1,000-place file against orvalin-driver built with
# the sanitizers (build-asan/, made by tools/sanitize.sh or here).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ASAN_BUILD_DIR:-build-asan}
[ -x "$build/app/orvalin-driver" ] || BUILD_DIR="$build" tools/build.sh -DORVALIN_SANITIZE=ON \
  -DORVALIN_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export ORVALIN_DRIVER=$PWD/$build/app/orvalin-driver
python3 tests/e2e/soak.py --actions "${1:-100000}" --seed "${2:-20261207}" --records 1000
