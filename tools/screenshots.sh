#!/usr/bin/env bash
# Makes docs/window-en.png and docs/window-fr.png: the main window as it opens on the sample
# places (on 21 June 2009), in English and in French. Needs no display. With xvfb-run, also
# docs/window-tooltip.png: the sunrise's tooltip on the place's own clock (a tooltip needs a screen).
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
if command -v xvfb-run >/dev/null; then
  shots=$(mktemp -d)
  trap 'rm -rf "$shots"' EXIT
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" ../app/orvalin-screenshots "$shots"
  cp "$shots/window-tooltip.png" "$root/docs/"
  echo "wrote docs/window-tooltip.png"
fi
