#!/usr/bin/env bash
# Installs what building, running and testing Pinvale needs on Debian 12, and
# only what is missing, so that a second run costs a second. Run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev   # native build and unit tests
  libbenchmark-dev                     # the readout benchmark
  g++-mingw-w64-i686-win32             # the 32-bit Windows build
  xvfb fonts-wqy-microhei              # a display when there is none; Chinese glyphs
  fonts-wine                           # Marlett, for the caption buttons Wine draws
  xdotool                              # keys held at the X level in the tests
  x11-utils                            # xprop: a taskbar's work area on the X root
  imagemagick librsvg2-bin icoutils    # screenshots, icons and resource checks
  zopfli                               # the icons' PNG images, compressed
  locales                              # a comma-separator locale for the tests
  clang libclang-rt-14-dev             # fuzzing with libFuzzer and the sanitizers
  clang-tidy cppcheck                  # lint
  strip-nondeterminism                 # the same release zip for every builder
  libfaketime diffoscope-minimal       # building it on another date; explaining a difference
)

# A mirror in mid-sync can serve an index that its own release file does not
# list; that passes within minutes or hours, or a mirror keeps serving one
# broken index for days. Retried a few times; then named, and the install goes
# on with the lists apt has: it fails by itself if a package it needs is not
# in them.
update_package_lists() {
  local log try
  log=$(mktemp)
  for try in 1 2 3; do
    if apt-get update -qq >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" -eq 3 ] || { echo "apt-get update failed (try $try of 3); again in 20 s"; sleep 20; }
  done
  echo "WARNING: some package lists could not be updated. apt-get said:"
  sed 's/^/  /' "$log"
  local failed
  failed=$(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' "$log")
  if [ -n "$failed" ] && grep -q -E 'Mirror sync in progress|Hash Sum mismatch|unexpected size' "$log"; then
    echo "The mirror served these indexes broken, three times over 40 s:"
    echo "$failed" | sed 's/^/  /'
    echo "That is the mirror's fault, not this machine's or the project's."
  fi
  echo "Going on with the package lists apt has."
  rm -f "$log"
}

updated=
install_missing() {  # install_missing PACKAGE...: those not installed yet
  local package status missing=()
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  [ -n "$updated" ] || { update_package_lists; updated=1; }
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${packages[@]}"
# Wine's loader is a 32-bit x86 program. Where the Wine tests and the
# program run in the emulated machine (scripts/emulation.sh), that machine
# has Wine, and the host needs qemu and no 32-bit packages.
# shellcheck source=emulation.sh
. "$(dirname "$0")/emulation.sh"
if emulated; then
  install_missing qemu-system-x86 debootstrap
else
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    updated=  # no i386 package lists yet
  fi
  install_missing wine wine32:i386
fi
