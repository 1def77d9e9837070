#!/usr/bin/env bash
# Renders the icon sources (icons/*.svg) into the .ico files the executable
# carries. The .ico files are committed, so that building needs no Linux
# tools; run this after changing an SVG. Needs librsvg2-bin, imagemagick,
# icoutils and zopfli (scripts/install-deps.sh installs them).
# Usage: make-icons.sh [OUT-DIR]   (default: resources/icons)
set -euo pipefail
icons=$(cd "$(dirname "$0")/icons" && pwd)
out=$(mkdir -p "${1:-$icons}" && cd "${1:-$icons}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # svg size -> png with alpha
  rsvg-convert -w "$2" -h "$2" "$icons/$1.svg" -o "$work/$1-$2.png"
}

# A 32-bit image is stored as PNG, which Windows Vista and later read at any
# size: lossless, and a fifth of the bitmap's bytes. It must stay 8-bit RGBA,
# the one PNG form that every Windows icon reader takes.
compressed() {  # name size -> the path of the image as compressed PNG
  zopflipng -y -m "$work/$1-$2.png" "$work/$1-$2-z.png" >/dev/null
  local type
  type=$(od -An -tu1 -j24 -N2 "$work/$1-$2-z.png" | tr -s ' ')
  [ "$type" = " 8 6" ] || { echo "$1-$2: zopflipng changed the PNG to depth and type$type" >&2; exit 1; }
  echo "$work/$1-$2-z.png"
}

# A palette image for old displays: quantized from the full-colour one,
# with pixels under half opacity left to the icon's transparency mask.
# Windows reads only 32-bit images from PNG, so these stay bitmaps.
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
files=(-b 1 "$work/app-32-2c.png" -b 4 "$work/app-48-16c.png"
  -b 8 "$work/app-48-256c.png" -b 8 "$work/app-32-256c.png" -b 8 "$work/app-16-256c.png")
for size in 128 48 32 16; do files+=(-r "$(compressed app "$size")"); done
icotool -c -o "$out/app.ico" "${files[@]}"

# The picture buttons: 128/64/48/32/16 at 32 bits with alpha.
for name in start pause; do
  files=()
  for size in 128 64 48 32 16; do
    render "$name" "$size"
    files+=(-r "$(compressed "$name" "$size")")
  done
  icotool -c -o "$out/$name.ico" "${files[@]}"
done

for icon in app start pause; do
  echo "$icon.ico:"
  icotool -l "$out/$icon.ico"
done
