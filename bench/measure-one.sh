#!/usr/bin/env bash
# One footprint measurement, run inside tests/e2e/with-display.sh: the
# program's own figures from footprint_driver, and the CPU time of its Wine
# prefix's server over the same run.
# Usage: measure-one.sh NAME PROGRAM.exe CAPTION EDIT-ID SECONDS
set -euo pipefail
name=$1 program=$2 caption=$3 edit=$4 seconds=$5
here=$(cd "$(dirname "$0")" && pwd)
driver=$here/../build/mingw-x86/bench/footprint_driver.exe

server_ticks() {  # utime + stime of this prefix's wineserver, in clock ticks
  local dir
  for dir in /proc/[0-9]*; do
    case $(cat "$dir/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
    if { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$PINVALE_WINEPREFIX"; then
      awk '{print $14 + $15}' "$dir/stat"
      return
    fi
  done
  echo 0
}

before=$(server_ticks)
line=$("$here/../cmake/wine-run.sh" "$driver" "$program" "$caption" "$edit" "$seconds")
after=$(server_ticks)
tick_ms=$((1000 / $(getconf CLK_TCK)))
echo "program=$name $line server_cpu_ms=$(((after - before) * tick_ms))"
