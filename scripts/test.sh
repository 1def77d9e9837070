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

# Where this kernel runs no 32-bit programs, the Windows tests run emulated
# (below), about ten times slower, and the soak runs five times as long, so
# that its heap trend rests on enough samples.
emulated=
bash scripts/runs-ia32.sh || emulated=1
declare -A options=([mingw-x86]="${emulated:+-DPINVALE_SOAK_SECONDS=600}")

for preset in native mingw-x86 fuzz; do
  echo "== $preset: configure and build"
  # shellcheck disable=SC2086 # the options are words
  cmake --preset "$preset" -DPINVALE_WARNINGS_AS_ERRORS=ON ${options[$preset]:-} >/dev/null
  cmake --build --preset "$preset"
done

echo "== lint"
bash scripts/lint.sh

for preset in native fuzz; do
  echo "== $preset: test"
  ctest --preset "$preset"
done

if [ -z "$emulated" ]; then
  for preset in mingw-x86 wine10; do
    echo "== $preset: test"
    ctest --preset "$preset"
  done
else
  # The release package builds with the host's compilers; the rest runs in
  # Wine, in a machine whose kernel runs 32-bit programs.
  echo "== this kernel runs no 32-bit x86 programs: the Windows tests run in a virtual machine (scripts/ia32-vm.sh)"
  echo "== mingw-x86: the package test, on the host"
  ctest --preset mingw-x86 -L package
  echo "== mingw-x86 and wine10: test, in the machine"
  bash scripts/ia32-vm.sh sh -c 'ctest --preset mingw-x86-wine && ctest --preset wine10'
fi
