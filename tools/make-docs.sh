#!/usr/bin/env bash
# Makes the table and the daylight charts of docs/ with orvalin-table, from the sample places.
# Builds what it needs into build/ (or $BUILD_DIR) first.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target orvalin-table sample_places
table="$build/app/table/orvalin-table"
places="$build/sample/location.dat"
export QT_QPA_PLATFORM=offscreen

"$table" --file "$places" --place Geneva --month 03-2009 --tz Europe/Zurich >docs/table-geneva.txt
"$table" --file "$places" --place Geneva --year 2009 --tz Europe/Zurich \
  --plot docs/daylight-geneva.png >/dev/null
"$table" --file "$places" --place Tromsø --year 2009 --tz Europe/Oslo \
  --plot docs/daylight-tromso.png >/dev/null
echo "docs/table-geneva.txt, docs/daylight-geneva.png and docs/daylight-tromso.png are made"
