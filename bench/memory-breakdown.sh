#!/usr/bin/env bash
# Where Pinvale's resident memory goes beyond the floor's: the floor, the floor
# with Pinvale's manifest (common controls 6), the floor also wearing a tooltip
# and Chinese texts in the interface font, and Pinvale, each measured as in
# bench/footprint.sh. Prints each program's median resident memory and its
# difference from the one before.
# Usage: memory-breakdown.sh [SECONDS [REPEATS]]   (defaults: 15 seconds, 3 repeats)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-15}
repeats=${2:-3}

raw=$root/build/footprint/memory-breakdown.txt
mkdir -p "$(dirname "$raw")"
: >"$raw"
programs=(floor floor_v6 floor_dressed pinvale)
bench/measure-programs.sh "$raw" "$seconds" "$repeats" "${programs[@]}"

echo "| program | resident memory, KiB (median, min..max) | more than the one above, KiB |"
echo "|---|---|---|"
for name in "${programs[@]}"; do
  sed -n "s/^program=$name .*rss_end_kib=\([0-9]*\).*/\1/p" "$raw" | sort -n |
    awk -v name="$name" '{ v[NR] = $1 } END {
      median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print name, median, v[1], v[NR] }'
done | awk '{ printf "| %s | %g (%g..%g) | %s |\n", $1, $2, $3, $4, NR == 1 ? "" : sprintf("%+g", $2 - previous); previous = $2 }'
