#!/usr/bin/env bash
# Takes a screenshot of the running program in a given state, on a virtual
# display, and crops it to the window. Needs the mingw-x86 build.
# With PINVALE_DPI set, the display is scaled to that many dots per inch,
# under Wine 10 in its Debian 13 root, which scales the program as Windows
# does (scripts/wine10-root.sh).
# Usage: [PINVALE_DPI=N] screenshot.sh POSE OUTPUT.png   (POSE: start, live, bad-scale)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/mingw-x86
pose=$1
output=$(realpath -m "$2")

if [ "${PINVALE_IN_DISPLAY:-}" != 1 ]; then
  # Run again inside a display and prefix of our own.
  export PINVALE_IN_DISPLAY=1
  if [ -n "${PINVALE_DPI:-}" ]; then
    exec "$root/scripts/wine10-root.sh" "$root/tests/e2e/with-display.sh" "$build/wineprefix-wine10" "$0" "$@"
  fi
  exec "$root/tests/e2e/with-display.sh" "$build/wineprefix-screenshot" "$0" "$@"
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
dpi=${PINVALE_DPI:-96}
import -window root -gravity center -crop "$((440 * dpi / 96))x$((170 * dpi / 96))+0+0" +repage "$output"
touch "$work/done"
wait "$pose_pid" || true
echo "$output"
