#!/usr/bin/env bash
# clang-tidy with the checked-in configuration over every source file of the project.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/compile_commands.json" ] || tools/build.sh
status=0
output=$(git ls-files '*.cpp' | grep -v '^tests/fuzz/' |
         xargs -P 2 -n 8 clang-tidy -p "$build" --quiet 2>&1) || status=$?
printf '%s\n' "$output" | grep -v -E "warnings? generated|^$" || true
[ $status -eq 0 ] && echo "clang-tidy: clean"
exit $status
