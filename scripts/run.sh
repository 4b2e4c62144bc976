#!/bin/sh
# Installs what is needed, builds a Release build into build/ and starts the
# program in sample/, where it finds engl.voc.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build

cd sample
exec ../build/app/vocabunta
