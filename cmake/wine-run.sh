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

# Wine's loader here is a 32-bit x86 program: a kernel that runs none (IA-32
# emulation off, as on some virtual machines) refuses it.
wine_version=$(wine --version 2>/dev/null) || {
  why=$(wine --version 2>&1 || true)
  echo "wine-run.sh: Wine does not start on this machine: $why" >&2
  case $why in *"Exec format error"*)
    echo "wine-run.sh: this kernel runs no 32-bit x86 programs, and Wine's loader is one;" \
      "the Windows tests need a machine that runs them (IA-32 emulation on)" >&2 ;;
  esac
  exit 1
}
# The marker holds the version of the prefix's set-up: a prefix made by
# another set-up or another Wine is made anew. Parallel tests must not race
# to make it.
setup=$(dirname "$0")/wine-prefix-setup.sh
version="$wine_version $(sha256sum <"$setup" | cut -c1-16)"
ready=$WINEPREFIX/.pinvale-ready
if [ "$(cat "$ready" 2>/dev/null)" != "$version" ]; then
  mkdir -p "$WINEPREFIX"
  flock "$WINEPREFIX.lock" sh -c '
    [ "$(cat "$1" 2>/dev/null)" = "$3" ] && exit 0
    wineserver -k 2>/dev/null
    find "$WINEPREFIX" -mindepth 1 -delete && wineboot --init && "$2" && echo "$3" >"$1"' \
    sh "$ready" "$setup" "$version" >/dev/null 2>&1 ||
    { echo "wine-run.sh: could not make the Wine prefix $WINEPREFIX" >&2; exit 1; }
fi
exec wine "$@"
