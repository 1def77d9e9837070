#!/usr/bin/env bash
# The release is reproducible: the last commit, cloned into two folders of
# different names and built there a few seconds apart, in two time zones,
# gives the same Pinvale.exe, zip and SHA256SUMS, byte for byte, and neither
# folder's name is in the executable. Only what the package needs is built.
# Usage: reproducible-package.sh SOURCE-DIR WORK-DIR
set -euo pipefail
source=$1
work=$2
git -C "$source" rev-parse HEAD >/dev/null 2>&1 || { echo "not a git checkout: nothing to compare"; exit 0; }
rm -rf "$work"
mkdir -p "$work"

build() {  # build FOLDER TIME-ZONE
  local clone=$work/$1 zone=$2
  git clone -q --no-hardlinks "$source" "$clone/src"
  TZ=$zone cmake -S "$clone/src" -B "$clone/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$clone/src/cmake/mingw-i686.cmake" -DPINVALE_BUILD_TESTS=OFF >/dev/null
  TZ=$zone cmake --build "$clone/build" --target package >/dev/null
}
build a UTC
sleep 2
build second-folder-with-a-longer-name Asia/Shanghai

a=$work/a/build
b=$work/second-folder-with-a-longer-name/build
zip=$(cd "$a" && ls Pinvale-*-win32.zip)
(cd "$a" && ls -l "$zip" && cmake -E tar tvf "$zip")
echo "SHA-256, first and second folder:"
(cd "$a" && sha256sum "$zip" Pinvale.exe)
(cd "$b" && sha256sum "$zip" Pinvale.exe)

status=0
for file in Pinvale.exe "$zip" SHA256SUMS; do
  cmp "$a/$file" "$b/$file" || status=1
done
(cd "$a" && sha256sum -c SHA256SUMS) || status=1
for folder in "$work/a" "$work/second-folder-with-a-longer-name"; do
  if grep -q -a -F "$folder" "$a/Pinvale.exe" "$b/Pinvale.exe"; then
    echo "a build folder's name is in the executable: $folder"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "the two builds are the same, byte for byte"
exit "$status"
