#!/usr/bin/env bash
# The long fuzz run: each target for RUNS executions (default 10 million),
# starting from the seed corpus. New inputs go to build/fuzz/long/, crashes
# to build/fuzz/; add a crash to the seeds with tests/fuzz/make-seeds.py.
# Usage: fuzz.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in parse_number readout; do
  mkdir -p "build/fuzz/long/$target"
  echo "== fuzz_$target: $runs executions"
  "build/fuzz/tests/fuzz/fuzz_$target" -runs="$runs" -max_len=4096 -timeout=2 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ "build/fuzz/long/$target" "tests/fuzz/corpus/$target" 2>&1 |
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|violated'
done
