#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time (FUZZ_SECONDS, default 60) from the seed
# corpus in fuzz/corpus. New inputs go to build/fuzz/corpus, never into the repository; a crash leaves
# its input in build/fuzz/artifacts and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/artifacts
for target in instrument_file:instrument pattern_file:pattern whole_run:run; do
  name="${target%%:*}"
  seeds="fuzz/corpus/${target##*:}"
  work="build/fuzz/corpus/${name}"
  mkdir -p "$work"
  echo "== fuzzing ${name} for ${seconds} s"
  "build/fuzz/fuzz/fuzz_${name}" "$work" "$seeds" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -timeout=20 -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 2>&1 | tail -n 12
  test "${PIPESTATUS[0]}" -eq 0
done
