#!/usr/bin/env bash
# Installs what the programs need, builds the window, the two tools and the sample places (no
# tests, no benchmarks), and opens the window on the sample places. tools/test.sh installs and
# builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --programs
cmake -S . -B build -G Ninja -DORVALIN_TESTS=OFF -DORVALIN_BENCH=OFF >/dev/null
cmake --build build --target orvalin orvalin-table orvalin-places sample_places
cd build/sample
exec ../app/orvalin
