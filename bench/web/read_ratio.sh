#!/bin/sh
# Counting and loading 1,000,000 lines held in memory, by the page's WebAssembly under node and
# by the native program, on this machine: each pass's median, and how many times native the
# page takes.
# Usage: sh bench/web/read_ratio.sh   (builds read_bench in build-bench/ and build-emscripten/)
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/../.." && pwd)
cd "$ROOT"
[ -f build-bench/CMakeCache.txt ] ||
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_TESTS=OFF >/dev/null
[ -f build-emscripten/CMakeCache.txt ] || sh scripts/web.sh >/dev/null
cmake --build build-bench --target read_bench >/dev/null
cmake --build build-emscripten --target read_bench >/dev/null

native=$(build-bench/bench/read_bench)
# emscripten 3.1.6 loads its .wasm with fetch where node has one, which reads no file paths.
page=$(node --no-experimental-fetch build-emscripten/bench/web/read_bench.js)
echo "native: $native"
echo "page:   $page"
echo "$native|$page" | sed 's/[^|]*count \([0-9.]*\) ms, load \([0-9.]*\) ms[^|]*/\1 \2/g' |
    awk -F'|' '{ split($1, n, " "); split($2, p, " ");
        printf "the page against native: count %.2f times, load %.2f times\n", p[1] / n[1], p[2] / n[2] }'
