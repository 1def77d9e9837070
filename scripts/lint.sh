#!/usr/bin/env bash
# clang-tidy (the checks in .clang-tidy) and cppcheck over the program's own
# code. Needs both presets configured (scripts/test.sh does that).
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== clang-tidy $(clang-tidy --version | sed -n 's/.*version \([0-9.]*\).*/\1/p' | head -n 1)"
clang-tidy --quiet -p build/native readout/*.cpp

# The Windows sources, with the cross compiler's C++ and Windows headers
# (clang brings its own compiler headers in place of GCC's).
extra=(--extra-arg=--target=i686-w64-mingw32)
while read -r dir; do
  extra+=("--extra-arg=-isystem$dir")
done < <(echo | i686-w64-mingw32-g++-win32 -E -x c++ - -v 2>&1 |
         sed -n '/#include <...> search starts here:/,/End of search list./{s/^ //p}' |
         grep -E '^/' | grep -v -E '/include(-fixed)?$' ; echo /usr/share/mingw-w64/include)
# clang knows none of GCC's stack boundaries nor -fno-inline-functions-called-once,
# which the lint needs not.
database=$(mktemp -d)
trap 'rm -rf "$database"' EXIT
sed -E 's/ -m(preferred|incoming)-stack-boundary=[0-9]+| -fno-inline-functions-called-once//g' build/mingw-x86/compile_commands.json >"$database/compile_commands.json"
clang-tidy --quiet -p "$database" "${extra[@]}" platform/*.cpp window/*.cpp

echo "== $(cppcheck --version)"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --enable=warning,performance,portability \
  --inline-suppr --library=windows -D_WIN32 -DUNICODE -D_UNICODE -I . -I resources \
  readout platform window
echo "lint: clean"
