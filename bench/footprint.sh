#!/usr/bin/env bash
# The footprint benchmark: Pinvale.exe beside the floor program (bench/floor.cpp),
# each in its own Wine prefix on a virtual display, several times in one run.
# Prints a table of medians, spreads and Pinvale/floor ratios, and saves it
# to build/footprint/results.md.
# Usage: footprint.sh [SECONDS [REPEATS]]   (defaults: 60 seconds, 3 repeats)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
repeats=${2:-3}

build=$root/build/mingw-x86
out=$root/build/footprint
mkdir -p "$out"
raw=$out/raw.txt
: >"$raw"
bench/measure-programs.sh "$raw" "$seconds" "$repeats" pinvale floor

# Code and data (every section but resources and relocations), and resources.
sizes() {
  local code=0 res=0 section size
  while read -r section size; do
    case $section in
      .rsrc) res=$((res + 16#$size)) ;;
      .reloc) ;;
      *) code=$((code + 16#$size)) ;;
    esac
  done < <(i686-w64-mingw32-objdump -h "$1" | awk '$2 ~ /^\./ {print $2, $3}')
  echo "$code $res"
}
read -r pinvale_code pinvale_res < <(sizes "$build/Pinvale.exe")
read -r floor_code floor_res < <(sizes "$build/bench/floor.exe")

{
  echo "| figure | Pinvale (median, min..max) | floor (median, min..max) | Pinvale/floor |"
  echo "|---|---|---|---|"
  for metric in cpu_ms server_cpu_ms rss_end_kib rss_growth_kib startup_ms; do
    awk -v metric="$metric" '
      function field(name,   i, kv) {
        for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
      }
      function median(list, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (list[j] < list[i]) { t = list[i]; list[i] = list[j]; list[j] = t }
        return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
      }
      {
        name = field("program")
        value = metric == "rss_growth_kib" ? field("rss_end_kib") - field("rss_start_kib") : field(metric)
        count[name]++; values[name, count[name]] = value
      }
      END {
        for (p in count) {
          n = count[p]; min[p] = values[p, 1]; max[p] = values[p, 1]
          for (i = 1; i <= n; i++) { v[i] = values[p, i]; if (v[i] < min[p]) min[p] = v[i]; if (v[i] > max[p]) max[p] = v[i] }
          med[p] = median(v, n)
        }
        ratio = med["floor"] != 0 ? sprintf("%.2f", med["pinvale"] / med["floor"]) : "n/a"
        if (metric == "startup_ms") ratio = sprintf("%+.0f ms", med["pinvale"] - med["floor"])
        if (metric == "rss_growth_kib") ratio = "n/a"
        printf "| %s | %g (%g..%g) | %g (%g..%g) | %s |\n", metric, med["pinvale"], min["pinvale"], max["pinvale"],
               med["floor"], min["floor"], max["floor"], ratio
      }' "$raw"
  done
  awk -v pc="$pinvale_code" -v fc="$floor_code" -v pr="$pinvale_res" -v fr="$floor_res" 'BEGIN {
    printf "| code+data KiB | %.1f | %.1f | %.2f |\n", pc / 1024, fc / 1024, pc / fc
    printf "| resources KiB | %.1f | %.1f | |\n", pr / 1024, fr / 1024
  }' 
  echo
  echo "$repeats runs of $seconds s each; $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')."
} | tee "$out/results.md"
