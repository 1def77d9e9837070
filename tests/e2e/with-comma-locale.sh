#!/usr/bin/env bash
# Runs a command in a German locale, whose decimal separator is the comma.
# Wine takes the user's locale from the Unix one. The locale is compiled into
# a folder of the build tree (first argument), so the system is not changed.
# Usage: with-comma-locale.sh LOCALE-DIR COMMAND [ARG...]
set -eu
dir=$1
shift
if [ ! -f "$dir/de_DE.UTF-8/LC_NUMERIC" ]; then
  mkdir -p "$dir"
  localedef -i de_DE -f UTF-8 "$dir/de_DE.UTF-8"
fi
export LOCPATH=$dir LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8
export PINVALE_EXPECT_COMMA=1
exec "$@"
