#!/bin/sh
# Builds the .deb from a configured build folder, unpacks it into ROOT with dpkg -x, and checks
# that everything is in place and that the desktop entry and the metainfo validate.
# Usage: check_package.sh BUILD_DIR ROOT
set -eu

BUILD=$1
ROOT=$2
fail() {
    echo "package check: $*" >&2
    exit 1
}

(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/vocabunta_*.deb)
rm -rf "$ROOT"
dpkg -x "$DEB" "$ROOT"

ID=ru.vocabunta.Vocabunta
for f in usr/bin/vocabunta \
    usr/share/applications/$ID.desktop \
    usr/share/metainfo/$ID.metainfo.xml \
    usr/share/vocabunta/engl.voc \
    usr/share/doc/vocabunta/copyright \
    usr/share/icons/hicolor/32x32/apps/$ID.png \
    usr/share/icons/hicolor/64x64/apps/$ID.png \
    usr/share/icons/hicolor/128x128/apps/$ID.png; do
    [ -s "$ROOT/$f" ] || fail "missing $f"
done
[ -x "$ROOT/usr/bin/vocabunta" ] || fail "the program is not executable"
for size in 32 64 128; do
    file "$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png" |
        grep -q "PNG image data, $size x $size" || fail "icon $size is not ${size}x${size}"
done
cmp -s "$ROOT/usr/share/vocabunta/engl.voc" sample/engl.voc || fail "the sample differs"
grep -qx "Path=/usr/share/vocabunta" "$ROOT/usr/share/applications/$ID.desktop" ||
    fail "the desktop entry does not start in the sample's folder"
grep -q "License: Expat" "$ROOT/usr/share/doc/vocabunta/copyright" || fail "no licence"

DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for dep in qt6-qpa-plugins fonts-liberation2 qt6-translations-l10n libqt6widgets6; do
    echo "$DEPENDS" | grep -q "$dep" || fail "Depends lacks $dep: $DEPENDS"
done

desktop-file-validate "$ROOT/usr/share/applications/$ID.desktop"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml"
echo "package check: $(basename "$DEB") is complete and valid"
