#!/usr/bin/env bash
# Measures programs as bench/measure-one.sh does, each in its Wine prefix on a
# virtual display, REPEATS times in turn, and appends their lines to RAW.
# NAME is "pinvale" or one of the floor programs built in bench/ (floor, floor_v6, ...).
# Usage: measure-programs.sh RAW SECONDS REPEATS NAME...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
raw=$1 seconds=$2 repeats=$3
shift 3
build=$root/build/mingw-x86

targets=(footprint_driver)
for name in "$@"; do targets+=("$([ "$name" = pinvale ] && echo Pinvale || echo "$name")"); done
bash scripts/install-deps.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 --target "${targets[@]}" >/dev/null

for run in $(seq "$repeats"); do
  for name in "$@"; do
    if [ "$name" = pinvale ]; then
      program=$build/Pinvale.exe caption=PinvaleV1.0 edit=201
    else
      program=$build/bench/$name.exe caption=PinvaleFloor edit=1
    fi
    echo "run $run/$repeats: $name, ${seconds} s" >&2
    tests/e2e/with-display.sh "$build/wineprefix-footprint-$name" \
      bench/measure-one.sh "$name" "$program" "$caption" "$edit" "$seconds" | tee -a "$raw" >&2
  done
done
