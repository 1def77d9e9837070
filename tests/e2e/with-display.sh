#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with a Wine prefix of its
# own whose programs share one Wine desktop of 1024 x 768 (Wine then draws
# window frames itself, as there is no window manager; none with a work area). Stops the display and
# the prefix's Wine server afterwards, whatever the command's result.
# Usage: [PINVALE_DPI=N] [PINVALE_WORKAREA=X,Y,W,H] with-display.sh PREFIX COMMAND [ARG...]
set -u
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../cmake/wine-run.sh

display_file=$(mktemp)
# -displayfd: Xvfb picks a free display number and tells it when ready; it
# gets 10 s, stretched where the machine is emulated. No key repeats for
# 30 s (the server's own begin after 660 ms): on a loaded machine the press
# and release of one xdotool key came far enough apart for one Enter to be
# taken 27 times.
# -noreset keeps a work area, which the server forgets when its last client (xprop) leaves.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ardelay 30000 -arinterval 30000 ${PINVALE_WORKAREA:+-noreset} \
  3>"$display_file" >/dev/null 2>&1 </dev/null &
xvfb=$!
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT

for _ in $(seq $((100 * ${PINVALE_TIME_SCALE:-1}))); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$display_file")
export PINVALE_WINEPREFIX=$prefix

# One persistent server for every Wine start below; kept off our pipes.
mkdir -p "$prefix"
WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
if [ -n "${PINVALE_WORKAREA:-}" ]; then  # a taskbar: the work area that Wine reads from the X root at start
  xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 0
  for area in _GTK_WORKAREAS_D0 _NET_WORKAREA; do xprop -root -f "$area" 32c -set "$area" "$PINVALE_WORKAREA"; done
else
  "$wine_run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  "$wine_run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
fi
# A display scaled to PINVALE_DPI dots per inch (96 is 100 %). Wine 8 then
# lays every program out larger; Wine 10 scales one that declares no DPI
# awareness, as Windows does.
if [ -n "${PINVALE_DPI:-}" ]; then
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PINVALE_DPI" /f \
    </dev/null >/dev/null 2>&1
fi
# These settings are read when Wine's desktop process starts: start anew.
WINEPREFIX=$prefix wineserver -k
WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1

"$@"
