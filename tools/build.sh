#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), tests and benchmarks included unless the
# extra CMake arguments given say otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DORVALIN_TESTS=ON -DORVALIN_BENCH=ON "$@" >/dev/null
cmake --build "$build"
