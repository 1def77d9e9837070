#!/usr/bin/env bash
# Installs what is missing, builds both presets with warnings as errors and
# runs every test: natively, then the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in native mingw-x86; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" -DPINVALE_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build --preset "$preset"
done

for preset in native mingw-x86; do
  echo "== $preset: test"
  ctest --preset "$preset"
done
