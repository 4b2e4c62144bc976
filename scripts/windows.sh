#!/bin/sh
# Вокабунта for Windows, built on Debian 12 with mingw-w64, statically linked:
#   sh scripts/windows.sh        installs what is missing (no Wine) and builds both programs:
#                                build-windows/vocabunta.exe, 32-bit, in
#                                build-windows/vocabunta-1.0.0-win32.zip and .msi, and
#                                build-win64/vocabunta.exe, 64-bit, in
#                                build-win64/vocabunta-1.0.0-win64.zip and .msi;
#   sh scripts/windows.sh test   the same with warnings as errors and the tests, run under 64-bit
#                                Wine, and under 32-bit Wine too where the kernel runs 32-bit
#                                programs (VOCABUNTA_WINE32=off: as where it does not).
#   ... --in DIR                 the two build folders in DIR instead of here.
# Two builds of one commit give the same bytes: the zips and installers are dated at the
# commit's time.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

checks=OFF
dir=.
while [ $# -gt 0 ]; do
    case "$1" in
        test) checks=ON; shift ;;
        --in) dir=$2; shift 2 ;;
        *) echo "usage: sh scripts/windows.sh [test] [--in DIR]" >&2; exit 2 ;;
    esac
done

if [ $checks = ON ]; then
    sh scripts/deps.sh wine
else
    sh scripts/deps.sh windows
fi
if [ -z "${SOURCE_DATE_EPOCH-}" ] && epoch=$(git log -1 --format=%ct 2>/dev/null); then
    export SOURCE_DATE_EPOCH="$epoch"
fi

for build in build-windows:i686 build-win64:x86_64; do
    cmake -S . -B "$dir/${build%:*}" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-${build#*:}.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_WERROR=$checks -DVOCABUNTA_TESTS=$checks \
        -DVOCABUNTA_BENCH=$checks
    cmake --build "$dir/${build%:*}"
done
if [ $checks = OFF ]; then
    echo "windows.sh: built $dir/build-windows/vocabunta-1.0.0-win32.zip and .msi," \
        "$dir/build-win64/vocabunta-1.0.0-win64.zip and .msi"
    exit 0
fi

sh scripts/wine.sh ctest --test-dir "$dir/build-win64" --output-on-failure --no-tests=error
why=$(sh scripts/wine.sh --win32 --why-not)
if [ -z "$why" ]; then
    sh scripts/wine.sh --win32 ctest --test-dir "$dir/build-windows" --output-on-failure --no-tests=error
else
    echo "windows.sh: the 32-bit tests not run: $why; the 64-bit run covered the same code"
fi
