#!/usr/bin/env bash
# Renders the icon sources (icons/*.svg) into the .ico files the executable
# carries. The .ico files are committed, so that building needs no Linux
# tools; run this after changing an SVG. Needs librsvg2-bin, imagemagick and
# icoutils (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/icons"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # svg size -> png with alpha
  rsvg-convert -w "$2" -h "$2" "$1.svg" -o "$work/$1-$2.png"
}

# A palette image for old displays: quantized from the full-colour one,
# with pixels under half opacity left to the icon's transparency mask.
palette() {  # name size colours
  convert "$work/$1-$2.png" -channel A -threshold 50% +channel \
    -colors "$3" "PNG8:$work/$1-$2-$3c.png"
}

# Application icon: 32x32 1-bit, 48x48 4-bit, 48/32/16 8-bit,
# 128/48/32/16 32-bit with alpha.
for size in 128 48 32 16; do render app "$size"; done
# The monochrome image is drawn in black and white, as such icons always were.
convert "$work/app-32.png" -alpha off -colorspace Gray -threshold 55% \
  \( "$work/app-32.png" -alpha extract -threshold 50% \) \
  -alpha off -compose CopyOpacity -composite "PNG8:$work/app-32-2c.png"
palette app 48 16
for size in 48 32 16; do palette app "$size" 256; done
icotool -c -o app.ico \
  -b 1 "$work/app-32-2c.png" \
  -b 4 "$work/app-48-16c.png" \
  -b 8 "$work/app-48-256c.png" -b 8 "$work/app-32-256c.png" -b 8 "$work/app-16-256c.png" \
  -b 32 "$work/app-128.png" -b 32 "$work/app-48.png" -b 32 "$work/app-32.png" -b 32 "$work/app-16.png"

# The picture buttons: 128/64/48/32/16 at 32 bits with alpha.
for name in start pause; do
  files=()
  for size in 128 64 48 32 16; do
    render "$name" "$size"
    files+=(-b 32 "$work/$name-$size.png")
  done
  icotool -c -o "$name.ico" "${files[@]}"
done

for icon in app start pause; do
  echo "$icon.ico:"
  icotool -l "$icon.ico"
done
