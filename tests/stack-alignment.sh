#!/usr/bin/env sh
# Windows calls a 32-bit window procedure, timer callback or COM method on a
# stack aligned to 4 bytes only. Every source of the program must be built to
# assume no more (-mincoming-stack-boundary=2, or -mpreferred-stack-boundary=2
# without a larger incoming boundary) or to realign (-mstackrealign): GCC's
# default assumes 16, which Wine's callers happen to give.
# Usage: stack-alignment.sh COMPILE_COMMANDS.JSON SOURCE_DIR
awk -v src="$2/" '
  /"command":/ { command = $0 }
  /"file":/ {
    file = $0; sub(/.*"file": "/, "", file); sub(/".*/, "", file)
    if (index(file, src) != 1) next
    dir = substr(file, length(src) + 1); sub(/\/.*/, "", dir)
    if (dir != "readout" && dir != "platform" && dir != "window") next
    incoming = 4; preferred = ""
    n = split(command, words, " ")
    for (i = 1; i <= n; i++) {
      if (words[i] ~ /^-mpreferred-stack-boundary=/) { preferred = substr(words[i], 28) }
      if (words[i] ~ /^-mincoming-stack-boundary=/) { incoming = substr(words[i], 27); explicit = 1 }
      if (words[i] == "-mstackrealign") realign = 1
    }
    if (!explicit && preferred != "") incoming = preferred
    checked++
    if (incoming + 0 > 2 && !realign) { print "FAILED: " file " assumes a stack aligned to " 2 ^ incoming " bytes"; bad++ }
    explicit = 0; realign = 0
  }
  END {
    print checked " sources of the program checked"
    if (checked == 0) { print "FAILED: no source of the program in the compile commands"; exit 1 }
    exit bad > 0
  }' "$1"
