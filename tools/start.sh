#!/usr/bin/env bash
# Installs what the programs need, builds them and the sample places (no tests, no benchmarks),
# and opens the window on the sample places. tools/test.sh installs and builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --programs
tools/build.sh -DORVALIN_TESTS=OFF -DORVALIN_BENCH=OFF
cd build/sample
exec ../app/orvalin
