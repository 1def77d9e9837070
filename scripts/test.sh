#!/usr/bin/env bash
# Installs what is missing, builds every preset with warnings as errors and
# runs every test: lint, the native unit tests, the fuzz targets (their seed
# corpus and a short run each), then the Windows build under Wine 8 and, on
# scaled displays, under Wine 10 in a Debian 13 root.
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

for preset in native fuzz mingw-x86 wine10; do
  echo "== $preset: test"
  ctest --preset "$preset"
done
