#!/bin/sh
# Builds the .deb the Debian way twice, from two folders, and checks that the two are the same
# byte for byte; then checks the package: its control fields, files, desktop entry, file type,
# launcher and manual pages, its hardening, Debian's policy (lintian) and the metainfo.
# Usage: check_package.sh   (builds into build-deb/ and build-deb-again/, unpacks into build-deb/root/)
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/../.." && pwd)
cd "$ROOT"
fail() {
    echo "package check: $*" >&2
    exit 1
}

sh scripts/deb.sh build-deb >/dev/null
sh scripts/deb.sh build-deb-again >/dev/null
for deb in build-deb/*.deb; do
    cmp "$deb" "build-deb-again/${deb##*/}" || fail "${deb##*/} differs between two builds"
done
echo "ok   two builds from two folders give the same packages: $(cd build-deb && sha256sum ./*.deb | tr '\n' ' ')"

VERSION=$(sed -n 's/^project(vocabunta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB=build-deb/vocabunta_${VERSION}-1_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || fail "no $DEB: is debian/changelog at version $VERSION-1?"
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Section)" = education ] || fail "section $(field Section)"
[ "$(field Maintainer)" = "Вокабунта <vocabunta@vocabunta.ru>" ] || fail "maintainer $(field Maintainer)"
# The platforms, fonts and Qt's Russian texts are loaded at run time, unseen by the library scan.
for dep in libqt6widgets6 qt6-qpa-plugins qt6-wayland fonts-liberation2 qt6-translations-l10n; do
    field Depends | grep -qw "$dep" || fail "Depends lacks $dep: $(field Depends)"
done

PKG=build-deb/root
rm -rf "$PKG"
dpkg -x "$DEB" "$PKG"
ID=ru.vocabunta.Vocabunta
APPS=$PKG/usr/share/applications/$ID.desktop
for f in bin/vocabunta libexec/vocabunta/open share/applications/$ID.desktop \
    share/metainfo/$ID.metainfo.xml share/mime/packages/$ID.xml share/vocabunta/engl.voc \
    share/doc/vocabunta/copyright share/doc/vocabunta/changelog.Debian.gz \
    share/man/man1/vocabunta.1.gz share/man/ru/man1/vocabunta.1.gz; do
    [ -s "$PKG/usr/$f" ] || fail "missing /usr/$f"
done
for f in bin/vocabunta libexec/vocabunta/open; do
    [ -x "$PKG/usr/$f" ] || fail "/usr/$f is not executable"
done
for size in 32 64 128; do
    file "$PKG/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png" |
        grep -q "PNG image data, $size x $size" || fail "icon $size is not ${size}x${size}"
done
cmp -s "$PKG/usr/share/vocabunta/engl.voc" sample/engl.voc || fail "the sample differs"

# The entry runs the launcher in the sample's folder, for engl.voc files, and names the window
# by its Wayland app id (the entry's own name) and its X11 class.
for line in "Exec=/usr/libexec/vocabunta/open %f" "Path=/usr/share/vocabunta" "Icon=$ID" \
    "MimeType=text/x-vocabunta-dictionary;" "StartupWMClass=vocabunta" "Name=Vocabunta" \
    "Name[ru]=Вокабунта" "Categories=Education;Languages;"; do
    grep -qxF "$line" "$APPS" || fail "the desktop entry lacks $line"
done
desktop-file-validate "$APPS"
for line in '<mime-type type="text/x-vocabunta-dictionary">' \
    '<glob pattern="engl.voc" case-sensitive="true"/>' "<icon name=\"$ID\"/>"; do
    grep -qF "$line" "$PKG/usr/share/mime/packages/$ID.xml" || fail "the file type lacks $line"
done
sh -n "$PKG/usr/libexec/vocabunta/open" || fail "the launcher is not a valid shell script"
grep -qxF 'exec "/usr/bin/vocabunta"' "$PKG/usr/libexec/vocabunta/open" ||
    fail "the launcher does not start /usr/bin/vocabunta"
for page in man1 ru/man1; do
    zgrep -qF /usr/libexec/vocabunta/open "$PKG/usr/share/man/$page/vocabunta.1.gz" ||
        fail "the $page page does not name the launcher"
done
echo "ok   files, control fields, desktop entry, file type, launcher and manual pages"

# Debian's flags reach every compiler command, and the program shows them.
compiles=$(grep -E '/c\+\+ .* -c ' build-deb/build.log || true)
[ -n "$compiles" ] || fail "no compiler command in build-deb/build.log"
for flag in -D_FORTIFY_SOURCE=2 -O2 -fstack-protector-strong; do
    echo "$compiles" | grep -qv -e " $flag " && fail "a file is compiled without $flag"
done
hardening=$(hardening-check "$PKG/usr/bin/vocabunta" || true)
for protection in "Position Independent Executable" "Stack protected" "Read-only relocations" \
    "Immediate binding"; do
    echo "$hardening" | grep -q "$protection: yes" || fail "not hardened: $hardening"
done
echo "ok   hardened: PIE, stack protector, full RELRO, BIND_NOW, _FORTIFY_SOURCE"

# A first upload closes no bug; nothing else may be said, pedantic hints included.
lintian --pedantic build-deb/vocabunta_*.changes 2>/dev/null |
    grep -v 'initial-upload-closes-no-bugs\|^I: ' | grep . && fail "lintian"
# Software centres want the screenshot's true size; an app id in capitals is GNOME's style.
META=$PKG/usr/share/metainfo/$ID.metainfo.xml
size=$(file docs/screenshot.png | sed -n 's/.*PNG image data, \([0-9]*\) x \([0-9]*\).*/width="\1" height="\2"/p')
grep -qF "$size" "$META" || fail "the metainfo does not give the screenshot's size, $size"
appstreamcli validate --pedantic --no-net "$META" | grep '^[EWIP]:' |
    grep -v 'cid-contains-uppercase-letter' | grep . && fail "appstreamcli"
echo "ok   lintian --pedantic and appstreamcli validate --pedantic"
echo "package check: $(basename "$DEB") is reproducible, complete, hardened and valid"
