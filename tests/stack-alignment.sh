#!/usr/bin/env sh
# Windows calls a 32-bit callback on a stack aligned to 4 bytes, where Wine gives GCC's default of 16: each
# source of the program must assume 4 (-mincoming- or -mpreferred-stack-boundary=2) or realign (-mstackrealign).
# Usage: stack-alignment.sh COMPILE_COMMANDS.JSON SOURCE_DIR
awk -v sources="-c $2/(readout|platform|window)/" '$0 ~ "\"command\": .*" sources {
    n++; incoming = 4; told = 0
    for (i = 1; i <= NF; i++) {
      if ($i ~ /^-mpreferred-stack-boundary=/ && !told) incoming = substr($i, 28)
      if ($i ~ /^-mincoming-stack-boundary=/) { incoming = substr($i, 27); told = 1 }
      if ($i == "-mstackrealign") { incoming = 2; told = 1 }
    }
    if (incoming > 2) { sub(/.* -c /, ""); sub(/",?$/, ""); print "FAILED: " $0 " assumes a 16-byte stack"; bad++ }
  }
  END { print n + 0 " sources of the program checked"; exit n == 0 || bad > 0 }' "$1"
