#!/usr/bin/env bash
# The release is the same for every builder: the last commit, built by the
# caller (root) in one folder and by an unprivileged user in another, with
# umask 077, another locale and time zone, on a date years away, gives the
# same Pinvale.exe, zip and SHA256SUMS, byte for byte; where they differ,
# diffoscope says how. Also: the zip holds exactly the release's files, and
# the third-party notices cover exactly the runtime parts that the linker's
# map shows in the executable. Only what the package needs is built.
# Usage (as root): reproducible-package.sh SOURCE-DIR WORK-DIR
set -euo pipefail
source=$1
work=$2
head=$(git -C "$source" rev-parse HEAD 2>&1) ||
  { echo "FAILED: cannot read the commit to build from $source: $head"; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "FAILED: run as root, to build the second copy as another user"; exit 1; }
builder=pinvale-builder
id -u "$builder" >/dev/null 2>&1 || useradd --system --user-group --no-create-home "$builder"
rm -rf "$work"
mkdir -p "$work"
other=$(mktemp -d /tmp/pinvale-other-builder.XXXXXX)
trap 'rm -rf "$other"' EXIT
chmod 755 "$other"

configure_and_package='
  git clone -q --no-hardlinks "$1" "$2/src" && git -C "$2/src" checkout -q --detach "$3"
  cmake -S "$2/src" -B "$2/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$2/src/cmake/mingw-i686.cmake" -DPINVALE_BUILD_TESTS=OFF >/dev/null
  cmake --build "$2/build" --target package >/dev/null'
a=$work/a
TZ=UTC LC_ALL=C bash -c "$configure_and_package" sh "$source" "$a" "$head"
# The other builder clones a copy of its own, as git refuses root's.
git clone -q --bare --no-hardlinks "$source" "$other/source.git"
b=$other/second-folder-with-a-longer-name
mkdir -p "$b"
chown -R "$builder:" "$other"
# libfaketime preloaded, as its faketime wrapper needs a writable /dev/shm:
# every process starts its clock at that date.
libfaketime=$(dpkg -L libfaketime | grep -m 1 '/libfaketime\.so\.1$') ||
  { echo "FAILED: libfaketime is not installed"; exit 1; }
runuser -u "$builder" -- env -i PATH="$PATH" HOME="$other" TZ=Asia/Shanghai LC_ALL=C.UTF-8 \
  LD_PRELOAD="$libfaketime" FAKETIME='@2031-07-15 08:30:00' \
  bash -c "umask 077; [ \$(date +%Y) = 2031 ] || { echo 'FAILED: the date is not faked'; exit 1; }
    $configure_and_package" sh "$other/source.git" "$b" "$head"

zip=$(cd "$a/build" && ls Pinvale-*-win32.zip)
folder=${zip%.zip}
(cd "$a/build" && ls -l "$zip" && cmake -E tar tvf "$zip")
echo "SHA-256, built by $(id -un) and by $builder (umask 077, C.UTF-8, Asia/Shanghai, 2031):"
(cd "$a/build" && sha256sum "$zip" Pinvale.exe)
(cd "$b/build" && sha256sum "$zip" Pinvale.exe)

status=0
for file in Pinvale.exe "$zip" SHA256SUMS; do
  if ! cmp -s "$a/build/$file" "$b/build/$file"; then
    echo "FAILED: $file differs between the two builders:"
    diffoscope --no-progress --text - "$a/build/$file" "$b/build/$file" | head -n 60 || true
    status=1
  fi
done
(cd "$a/build" && sha256sum -c SHA256SUMS) || status=1
for folder_name in "$a" "$b"; do
  if grep -q -a -F "$folder_name" "$a/build/Pinvale.exe" "$b/build/Pinvale.exe"; then
    echo "FAILED: a build folder's name is in the executable: $folder_name"
    status=1
  fi
done

expected=$(printf '%s\n' LICENSE.txt Pinvale.exe README.en.txt README.zh-CN.txt THIRD-PARTY-NOTICES.txt |
  sed "s|^|$folder/|")
if [ "$(cmake -E tar tf "$a/build/$zip" | sort)" != "$expected" ]; then
  echo "FAILED: the zip should hold exactly:"
  echo "$expected"
  status=1
fi

# The runtime parts in the executable, as archive:member (or an object
# loaded whole), not the program's own libraries nor the objects that
# link-time optimization makes of the program's code. The notices cover an
# archive whole, or, where its members differ in licence, member by member.
map=$a/build/Pinvale.map
linked=$({ sed -n 's/^[^ (]*\/\([^/ (]*\.a\)(\([^)]*\)).*/\1:\2/p' "$map"; sed -n 's/^LOAD .*\/\([^/]*\.o\)$/\1/p' "$map"; } |
  grep -v -e '^libpinvale_' -e '\.ltrans\.o$' | sort -u)
covered=$(sed -n 's/^Covers: //p' "$a/src/THIRD-PARTY-NOTICES.txt" | tr ' ' '\n' | sed '/^$/d' | sort -u)
uncovered=$(echo "$linked" | while read -r part; do
  grep -qxF -e "$part" -e "${part%%:*}" <<<"$covered" || echo "  linked, no notice: $part"; done)
unlinked=$(echo "$covered" | while read -r part; do
  grep -qE "^$part(:|\$)" <<<"$linked" || echo "  a notice, not linked: $part"; done)
if [ -n "$uncovered$unlinked" ]; then
  echo "FAILED: THIRD-PARTY-NOTICES.txt does not cover exactly what the linker's map shows in Pinvale.exe:"
  printf '%s\n' "$uncovered" "$unlinked" | sed '/^$/d'
  status=1
fi
echo "runtime parts linked, from these archives and objects: $(echo "$linked" | sed "s/:.*//" | uniq | tr "\n" " ")"

[ "$status" -eq 0 ] && echo "the two builds are the same, byte for byte"
exit "$status"
