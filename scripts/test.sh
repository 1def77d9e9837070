#!/usr/bin/env bash
# Installs what is missing, builds every preset with warnings as errors and
# runs every test: lint, the native unit tests, the fuzz targets (their seed
# corpus and a short run each), then the Windows build under Wine 8 and, on
# scaled displays, under Wine 10 in a Debian 13 root. Where this kernel runs
# no 32-bit programs, the Wine tests run in a virtual machine that does.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
echo "== the Wine 10 root: made once per machine, then reused"
bash scripts/wine10-root.sh true

for preset in native mingw-x86 fuzz; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" -DPINVALE_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build --preset "$preset"
done

echo "== lint"
bash scripts/lint.sh

for preset in native fuzz; do
  echo "== $preset: test"
  ctest --preset "$preset"
done

# shellcheck source=emulation.sh
. scripts/emulation.sh
if ! emulated; then
  for preset in mingw-x86 wine10; do
    echo "== $preset: test"
    ctest --preset "$preset"
  done
else
  # The release package builds with the host's compilers; the rest runs in
  # Wine, in a machine whose kernel runs 32-bit programs.
  why="this kernel runs no 32-bit x86 programs"
  [ "${PINVALE_EMULATE:-0}" = 0 ] || why="PINVALE_EMULATE=$PINVALE_EMULATE asks for it"
  echo "== the Windows tests run in a virtual machine (scripts/ia32-vm.sh): $why"
  echo "== mingw-x86: the package and build tests, on the host"
  ctest --preset mingw-x86 -L 'package|host'
  echo "== mingw-x86 and wine10: test, in the machine"
  bash scripts/ia32-vm.sh sh -c 'ctest --preset mingw-x86-wine && ctest --preset wine10'
fi
