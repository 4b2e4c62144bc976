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
APPS=$ROOT/usr/share/applications/$ID.desktop
for f in bin/vocabunta libexec/vocabunta/open share/applications/$ID.desktop \
    share/metainfo/$ID.metainfo.xml share/mime/packages/$ID.xml share/vocabunta/engl.voc \
    share/doc/vocabunta/copyright; do
    [ -s "$ROOT/usr/$f" ] || fail "missing /usr/$f"
done
[ -x "$ROOT/usr/bin/vocabunta" ] && [ -x "$ROOT/usr/libexec/vocabunta/open" ] || fail "no exec bit"
for size in 32 64 128; do
    file "$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png" |
        grep -q "PNG image data, $size x $size" || fail "icon $size is not ${size}x${size}"
done
cmp -s "$ROOT/usr/share/vocabunta/engl.voc" sample/engl.voc || fail "the sample differs"
for line in "Path=/usr/share/vocabunta" "Exec=/usr/libexec/vocabunta/open %f" \
    "MimeType=text/x-vocabunta-dictionary;"; do
    grep -qxF "$line" "$APPS" || fail "the desktop entry lacks $line"
done
grep -q "License: Expat" "$ROOT/usr/share/doc/vocabunta/copyright" || fail "no licence"

DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for dep in qt6-qpa-plugins fonts-liberation2 qt6-translations-l10n libqt6widgets6; do
    echo "$DEPENDS" | grep -q "$dep" || fail "Depends lacks $dep: $DEPENDS"
done

desktop-file-validate "$APPS"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml"
echo "package check: $(basename "$DEB") is complete and valid"
