#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 300) from its seed
# corpus in tests/fuzz/corpus. Prints each target's executions per second and what it found.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
build=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DORVALIN_FUZZ=ON -DORVALIN_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_targets
status=0
for target in $(ls tests/fuzz/corpus); do
  work=$(mktemp -d)
  cp tests/fuzz/corpus/"$target"/* "$work"/
  log="$build/$target.log"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
       -artifact_prefix="$build/$target-" "$work" >"$log" 2>&1; then
    result="no crash"
  else
    result="FOUND A FAILURE (see $log and $build/$target-*)"
    status=1
  fi
  runs=$(grep -Eo '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  echo "$target: ${runs:-0} runs in ${seconds}s ($(( ${runs:-0} / seconds )) execs/s), $result"
  rm -rf "$work"
done
exit $status
