#!/bin/sh
# Installs what is needed, then builds and runs every check, stopping at the first failure:
#   1. the tracked C++ files formatted as .clang-format says, the shell scripts passing shellcheck;
#   2. the tests, in a Release build with warnings as errors (build-test/), as users get it;
#   3. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#   4. the dictionary fuzzer, built with clang and both sanitizers, over the committed seeds and
#      then for a bounded time (build-fuzz/);
#   5. the .deb, built the Debian way twice (build-deb/, build-deb-again/), compared and checked,
#      and both Windows zips built twice (build-windows-again/) and compared;
#   6. the first build installed into another prefix and into its own (build-test/prefix/),
#      opened as a file manager and a screen reader meet it under Xvfb, and as a shell meets it
#      under Wayland;
#   7. the page, built with emscripten with warnings as errors (build-emscripten/, installed into
#      build-web/): the core's tests under node, then the page in headless Chromium;
#   8. the Windows programs, cross-built for 32- and 64-bit Windows with warnings as errors, and
#      their tests run under 64-bit Wine, and under 32-bit Wine where the kernel runs 32-bit
#      programs (build-windows/, build-win64/).
# Exits non-zero on any failure.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

sh scripts/deps.sh test

# Before anything is built: a file off the house style or a script shellcheck faults fails the
# run. The lists are git's, so build folders are left out; outside a checkout this step fails.
git rev-parse --is-inside-work-tree >/dev/null
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
git ls-files -z '*.sh' .ci/run | xargs -0 -r shellcheck
echo "formatting and shell scripts: clean"

# Widget tests need no display.
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_WERROR=ON \
    -DCMAKE_INSTALL_PREFIX="$ROOT/build-test/prefix"
cmake --build build-test
ctest --test-dir build-test --output-on-failure --no-tests=error

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVOCABUNTA_WERROR=ON \
    -DVOCABUNTA_SANITIZE=ON -DVOCABUNTA_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --no-tests=error

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOCABUNTA_WERROR=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DVOCABUNTA_FUZZ=ON
cmake --build build-fuzz
# New inputs go to a scratch folder; the committed seeds stay as they are. A crash leaves its
# input in build-fuzz/ and fails the run.
mkdir -p build-fuzz/corpus
build-fuzz/fuzz/dictionary_fuzzer -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 \
    -artifact_prefix=build-fuzz/ -print_final_stats=1 build-fuzz/corpus fuzz/corpus
echo "fuzzing: no crash"

sh tests/package/check_package.sh

sh tests/e2e/run_e2e.sh build-test

sh scripts/web.sh test

sh scripts/windows.sh test

echo "checks: 8 passed, 0 failed"
