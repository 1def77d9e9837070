#!/usr/bin/env bash
# Starts or stops the Wine server of a build tree's prefix around a test run.
# Usage: wine-server.sh start|stop PREFIX
#
# A persistent server saves every later Wine start a second or two. The
# server and the Wine services it starts live on after this script, so they
# must not inherit ctest's output pipe, or ctest waits for them forever.
set -u
action=$1
export WINEPREFIX=$2
case $action in
  start)
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    PINVALE_WINEPREFIX=$WINEPREFIX "$(dirname "$0")/wine-run.sh" cmd /c exit 0 </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k 2>/dev/null
    exit 0
    ;;
  *)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
