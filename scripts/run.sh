#!/usr/bin/env bash
# Installs what is missing, builds Pinvale.exe and starts it under Wine on
# the user's display. With no display, it starts a virtual one, takes a
# screenshot of the window and prints where it saved it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 --target Pinvale pose

# Where this kernel runs no 32-bit programs, as Wine's loader is one, or
# PINVALE_EMULATE=1 asks for it, Pinvale runs in a virtual machine that has
# no window on this display.
# shellcheck source=emulation.sh
. scripts/emulation.sh
in_vm=()
if emulated; then in_vm=(bash scripts/ia32-vm.sh); fi

if [ -n "${DISPLAY:-}" ] && [ ${#in_vm[@]} -eq 0 ]; then
  echo "Starting build/mingw-x86/Pinvale.exe on display $DISPLAY"
  PINVALE_WINEPREFIX=$root/build/mingw-x86/wineprefix-run exec cmake/wine-run.sh build/mingw-x86/Pinvale.exe
fi

echo "No display${in_vm:+ for a program in a virtual machine}: starting a virtual one and saving a screenshot of the window."
shot=$root/build/mingw-x86/screenshots/pinvale.png
"${in_vm[@]}" bash scripts/screenshot.sh start "$shot" >/dev/null
echo "Screenshot: $shot"
