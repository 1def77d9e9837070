#!/usr/bin/env bash
# The readout core's benchmark beside its baselines, in one run (native build).
# Usage: benchmark.sh [REPETITIONS]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target readout_bench >/dev/null
build/native/bench/readout_bench --benchmark_repetitions="${1:-10}" --benchmark_report_aggregates_only=true
