#!/usr/bin/env bash
# Makes the tables and the daylight charts of docs/ with orvalin-table, from the sample places:
# the user guide's examples are cut from these files.
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
"$table" --file "$places" --place Sydney --year 2027 --tz Australia/Sydney \
  >docs/table-sydney-2027.txt
"$table" --file "$places" --place Reykjav --from 01-05-2027 --to 07-05-2027 --tz Atlantic/Reykjavik \
  --twilight civil >docs/table-twilight.txt
"$table" --file "$places" --place Geneva --place Sydney --place Tromsø --date 21-06-2027 --gmt \
  --format csv >docs/table-places.csv
"$table" --file "$places" --place Geneva --year 2009 --tz Europe/Zurich \
  --plot docs/daylight-geneva.png >/dev/null
"$table" --file "$places" --place Tromsø --year 2009 --tz Europe/Oslo \
  --plot docs/daylight-tromso.png >/dev/null
"$table" --file "$places" --place Reykjav --year 2027 --tz Atlantic/Reykjavik --twilight civil \
  --plot docs/daylight-reykjavik.png >/dev/null
echo "the tables docs/table-* and the charts docs/daylight-*.png are made"
