#!/usr/bin/env bash
# Runs the topmost test with Wine's "win" trace on, which logs every window
# placement (NtUserSetWindowPos) with its arguments. The test reports its
# window and how many times it clicked start; once everything has ended,
# this counts the placements of that window on top without moving or
# resizing (after 0xffffffff, flags SWP_NOSIZE | SWP_NOMOVE): one per click,
# none at start and none for pause.
# Usage: run-with-trace.sh COMMAND [ARG...]
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PINVALE_WIN_TRACE=1
WINEDEBUG=+win "$@" 2>"$work/trace" | tee "$work/out"
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || exit "$status"

expected=$(sed -n 's/^topmost placements expected: hwnd \(0x[0-9a-f]*\), \([0-9]*\).*/\1 \2/p' "$work/out")
[ -n "$expected" ] || { echo "the test reported no window"; exit 1; }
read -r hwnd starts <<<"$expected"
seen=$(grep -c "NtUserSetWindowPos hwnd $hwnd, after 0xffffffff, 0,0 (0x0), flags 00000003\$" "$work/trace")
echo "topmost placements of $hwnd in Wine's trace: $seen, for $starts clicks on start"
[ "$seen" -eq "$starts" ]
