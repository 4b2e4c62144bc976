#!/bin/sh
# Installs what is needed, builds a Debug build with warnings as errors into
# build-test/ and runs every test with ctest. Exits non-zero on any failure.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

sh scripts/deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVOCABUNTA_WERROR=ON
cmake --build build-test

# Widget tests need no display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure
