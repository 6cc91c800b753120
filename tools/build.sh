#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), tests, benchmarks and the driver's test hooks
# included unless the extra CMake arguments given say otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DORVALIN_TESTS=ON -DORVALIN_BENCH=ON -DORVALIN_TEST_HOOKS=ON \
  "$@" >/dev/null
cmake --build "$build"
