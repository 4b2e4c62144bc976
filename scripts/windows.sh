#!/bin/sh
# Вокабунта for Windows, built on Debian 12 with mingw-w64:
#   sh scripts/windows.sh        installs what is missing and builds build-windows/vocabunta.exe
#                                (32-bit, statically linked) and
#                                build-windows/vocabunta-1.0.0-win32.zip;
#   sh scripts/windows.sh test   the same with warnings as errors and the tests, runs the tests
#                                under Wine, and builds it all for 64-bit Windows too
#                                (build-win64/), so that the code stays portable.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

case "${1-}" in
    "") checks=OFF ;;
    test) checks=ON ;;
    *) echo "usage: sh scripts/windows.sh [test]" >&2; exit 2 ;;
esac

sh scripts/deps.sh windows

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_WERROR=$checks -DVOCABUNTA_TESTS=$checks \
    -DVOCABUNTA_BENCH=$checks
cmake --build build-windows
if [ $checks = OFF ]; then
    echo "windows.sh: built build-windows/vocabunta.exe and build-windows/vocabunta-1.0.0-win32.zip"
    exit 0
fi

cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_WERROR=ON -DVOCABUNTA_TESTS=OFF -DVOCABUNTA_BENCH=OFF
cmake --build build-win64

sh scripts/wine.sh ctest --test-dir build-windows --output-on-failure --no-tests=error
