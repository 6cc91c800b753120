#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window on the sample places.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
cd build/sample
exec ../app/orvalin
