#!/bin/sh
# Вокабунта in a browser, built on Debian 12 with emscripten:
#   sh scripts/web.sh         installs what is missing and builds the page into build-web/, a
#                             static folder with index.html at its top that any static file
#                             server serves (a page opened from file:// cannot load its .wasm);
#   sh scripts/web.sh serve   the same, then serves it on 127.0.0.1, at port PORT (8000 unless
#                             set), until interrupted;
#   sh scripts/web.sh test    the same with warnings as errors and the tests: the core's under
#                             node, then the page in headless Chromium.
# CMake builds in build-emscripten/ and installs the page from there, which holds nothing else.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"

case "${1-build}" in
    build | serve) checks=OFF ;;
    test) checks=ON ;;
    *) echo "usage: sh scripts/web.sh [serve|test]" >&2; exit 2 ;;
esac

sh scripts/deps.sh web
# The page alone takes a build folder as it was configured, tests and all, rather than build
# everything anew without them.
if [ $checks = ON ] || [ ! -f build-emscripten/CMakeCache.txt ]; then
    emcmake cmake -S . -B build-emscripten -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DVOCABUNTA_WERROR=$checks -DVOCABUNTA_TESTS=$checks
fi
cmake --build build-emscripten
# Nothing left in it from an earlier build.
rm -rf build-web
cmake --install build-emscripten --prefix build-web >/dev/null

case "${1-build}" in
    build)
        echo "web.sh: built build-web/; sh scripts/web.sh serve serves it"
        ;;
    serve)
        port=${PORT:-8000}
        echo "web.sh: serving build-web/ at http://127.0.0.1:$port/ (Ctrl+C stops)"
        exec python3 -m http.server --bind 127.0.0.1 --directory build-web "$port"
        ;;
    test)
        ctest --test-dir build-emscripten --output-on-failure --no-tests=error
        # Debian's own python3, which has selenium.
        /usr/bin/python3 tests/web/run_browser.py build-web build-emscripten/window_test.html
        ;;
esac
