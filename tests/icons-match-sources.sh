#!/usr/bin/env bash
# The committed icons are their SVG sources as resources/make-icons.sh
# renders them: every image, bitmap or PNG, decodes to the same RGBA pixels.
# Usage: icons-match-sources.sh SOURCE-DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$1/resources/make-icons.sh" "$work/made" >/dev/null
mkdir "$work/committed-x" "$work/made-x"
for icon in app start pause; do
  icotool -x -o "$work/committed-x" "$1/resources/icons/$icon.ico"
  icotool -x -o "$work/made-x" "$work/made/$icon.ico"
done
images=0
for made in "$work"/made-x/*.png; do
  committed=$work/committed-x/$(basename "$made")
  cmp -s <(convert "$made" -depth 8 rgba:-) <(convert "$committed" -depth 8 rgba:- 2>/dev/null) ||
    { echo "FAILED: $(basename "$made") differs from its source's render"; exit 1; }
  images=$((images + 1))
done
[ "$images" -eq 19 ] && [ "$(ls "$work/committed-x" | wc -l)" -eq 19 ] ||
  { echo "FAILED: $images images made, $(ls "$work/committed-x" | wc -l) committed; 19 expected"; exit 1; }
echo "icons: all $images images match their sources' render"
