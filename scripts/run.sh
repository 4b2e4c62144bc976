#!/bin/sh
# Installs what building and running need, builds only the program (Release, into build/) and
# starts it in sample/, where it finds engl.voc.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

sh scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_TESTS=OFF -DVOCABUNTA_BENCH=OFF
cmake --build build

cd sample
exec ../build/vocabunta
