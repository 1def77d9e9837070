#!/usr/bin/env bash
# Runs a command under Wine 10, in a Debian 13 root made with debootstrap.
# Debian 12's Wine 8 never scales a program that declares no DPI awareness;
# Wine 10 does, as Windows does, so the scaled-display tests run here.
#
# The root is made once per machine, from the Debian mirror that this
# machine's apt sources name, and kept in $PINVALE_WINE10_ROOT (default
# /var/cache/pinvale/wine10-trixie); it is made anew when the package list
# below changes. The project folder is bind-mounted at its own path, so build
# trees and scripts keep their names inside. Every way out unmounts it all.
# Run as root.  Usage: wine10-root.sh COMMAND [ARG...]
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
root=${PINVALE_WINE10_ROOT:-/var/cache/pinvale/wine10-trixie}
suite=trixie
packages=(
  wine wine32:i386           # Wine 10, 32-bit, as the Wine 8 platform
  xvfb xdotool               # a display, and input at the X level
  fonts-wqy-microhei         # Chinese glyphs
  fonts-wine                 # Marlett, for the caption buttons
  imagemagick                # screenshots
)
stamp="$suite ${packages[*]}"

# shellcheck source=debian-root.sh
. "$project/scripts/debian-root.sh"
ensure_root "$root" "$suite" "$stamp" "${packages[@]}"

# The project's own settings go in with the command.
settings=()
while IFS= read -r name; do settings+=("$name=${!name}"); done < <(compgen -e | grep '^PINVALE_' || true)
mount_into "$root"
status=0
in_root "$root" "${settings[@]}" sh -c 'cd "$1" && shift && exec "$@"' sh "$PWD" "$@" ||
  status=$?
exit "$status"
