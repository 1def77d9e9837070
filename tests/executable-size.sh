#!/usr/bin/env sh
# Pinvale.exe stays a small download: at most 100 KiB.
# Usage: executable-size.sh PINVALE.EXE
size=$(stat -c %s "$1") || exit 1
echo "Pinvale.exe: $size bytes, of at most 102400"
[ "$size" -le 102400 ] || { echo "FAILED: Pinvale.exe has grown past 100 KiB"; exit 1; }
