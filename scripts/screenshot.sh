#!/usr/bin/env bash
# Takes a screenshot of the running program in a given state, on a virtual
# display, and crops it to the window. Needs the mingw-x86 build.
# Usage: screenshot.sh POSE OUTPUT.png   (POSE: start, live, bad-scale)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/mingw-x86
pose=$1
output=$(realpath -m "$2")

if [ "${PINVALE_IN_DISPLAY:-}" != 1 ]; then
  # Run again inside a display and prefix of our own.
  exec env PINVALE_IN_DISPLAY=1 "$root/tests/e2e/with-display.sh" "$build/wineprefix-screenshot" "$0" "$@"
fi

work=$(mktemp -d)
trap 'touch "$work/done"; rm -rf "$work"' EXIT
# The pose program sees the done file through Wine's Z: drive.
"$root/cmake/wine-run.sh" "$build/tests/pose.exe" "$pose" "$build/Pinvale.exe" "Z:${work//\//\\}\\done" \
  >"$work/out" 2>&1 &
pose_pid=$!
for _ in $(seq 300); do
  grep -q ready "$work/out" 2>/dev/null && break
  kill -0 "$pose_pid" 2>/dev/null || { cat "$work/out" >&2; exit 1; }
  sleep 0.1
done
grep -q ready "$work/out" || { echo "the program did not get ready" >&2; exit 1; }

mkdir -p "$(dirname "$output")"
# The window is centred on the 1024 x 768 Wine desktop; keep a margin around it.
import -window root -gravity center -crop 440x170+0+0 +repage "$output"
touch "$work/done"
wait "$pose_pid" || true
echo "$output"
