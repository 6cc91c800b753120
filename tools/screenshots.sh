#!/usr/bin/env bash
# Makes docs/window-en.png and docs/window-fr.png: the main window as it opens on the sample
# places (on 21 June 2009), in English and in French. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target orvalin-screenshots sample_places
mkdir -p docs
cd "$build/sample"
QT_QPA_PLATFORM=offscreen ../app/orvalin-screenshots "$root/docs"
echo "wrote docs/window-en.png and docs/window-fr.png"
