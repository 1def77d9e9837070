#!/usr/bin/env bash
# The long soak of the real program under hostile input (default 30 minutes).
# Usage: soak.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-1800}
bash scripts/install-deps.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86
build=$PWD/build/mingw-x86
PINVALE_SOAK_SECONDS=$seconds tests/e2e/with-display.sh "$build/wineprefix-soak" cmake/wine-run.sh \
  "$build/tests/window_e2e_test.exe" --gtest_filter=SoakTest.* "$build/Pinvale.exe"
