#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix.
# The prefix is $PINVALE_WINEPREFIX, or "wineprefix" in the nearest build
# directory above the current one (the one holding CMakeCache.txt).
set -eu

find_build_dir() {
  local dir=$PWD
  while [ "$dir" != / ]; do
    [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return; }
    dir=$(dirname "$dir")
  done
  echo "$PWD"
}

export WINEPREFIX=${PINVALE_WINEPREFIX:-$(find_build_dir)/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: their installers would ask questions, and nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win32

# Parallel tests must not race to create the prefix.
ready=$WINEPREFIX/.pinvale-ready
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  flock "$WINEPREFIX.lock" sh -c '[ -f "$1" ] || { wineboot --init && "$2" && touch "$1"; } >/dev/null 2>&1' \
    sh "$ready" "$(dirname "$0")/wine-prefix-setup.sh"
fi
exec wine "$@"
