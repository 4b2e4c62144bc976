#!/bin/sh
# Builds the Debian package the Debian way (dpkg-buildpackage and debian/rules) from a copy of
# this checkout, so the build leaves the checkout as it was. The packages land in OUT_DIR
# (build-deb/ by default), beside whatever it holds: vocabunta_*.deb and its debug symbols,
# vocabunta-dbgsym_*.deb, with the .buildinfo, the .changes and the build log.
# Usage: sh scripts/deb.sh [OUT_DIR]
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"
OUT=${1:-build-deb}

sh scripts/deps.sh deb

VERSION=$(dpkg-parsechangelog -S Version)
# The copy is built in a scratch folder; only the packages and the log go to OUT_DIR, and nothing
# else there is touched.
mkdir -p "$OUT"
work=$(mktemp -d "${TMPDIR:-/tmp}/deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
SRC=$work/vocabunta-${VERSION%-*}
mkdir "$SRC"
# Everything but build folders and git's own files; the checkout is the source.
tar -cf - --exclude=./.git --exclude='./build*' --exclude=./.cache . | tar -xf - -C "$SRC"
# Binary packages only (no source package), unsigned; the results go to the copy's parent. The
# log keeps every compiler and linker command, with the flags that harden the program.
echo "deb.sh: building in $SRC (log: $OUT/build.log)"
(cd "$SRC" && dpkg-buildpackage --build=binary --no-sign) >"$OUT/build.log" 2>&1 || {
    tail -n 40 "$OUT/build.log" >&2
    exit 1
}
mv "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$OUT/"
ls "$OUT"/*.deb
