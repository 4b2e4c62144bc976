#!/bin/sh
# Builds the .deb the Debian way twice, from two folders, and checks that the two are the same
# byte for byte; then checks the package: its dependencies, files, desktop entry, file type and
# launcher, its hardening, Debian's policy (lintian, which also reads the manual pages) and the
# metainfo.
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
# The platforms, fonts and Qt's Russian texts are loaded at run time, unseen by the library scan.
for dep in libqt6widgets6 qt6-qpa-plugins qt6-wayland fonts-liberation2 qt6-translations-l10n; do
    dpkg-deb -f "$DEB" Depends | grep -qw "$dep" || fail "Depends lacks $dep"
done

PKG=build-deb/root
rm -rf "$PKG"
dpkg -x "$DEB" "$PKG"
ID=ru.vocabunta.Vocabunta
APPS=$PKG/usr/share/applications/$ID.desktop
# Lintian checks the rest: permissions, icon sizes, copyright, changelog, manual pages.
for f in bin/vocabunta libexec/vocabunta/open share/applications/$ID.desktop \
    share/icons/hicolor/32x32/apps/$ID.png share/icons/hicolor/128x128/apps/$ID.png \
    share/metainfo/$ID.metainfo.xml share/mime/packages/$ID.xml share/vocabunta/engl.voc \
    share/man/man1/vocabunta.1.gz share/man/ru/man1/vocabunta.1.gz; do
    [ -s "$PKG/usr/$f" ] || fail "missing /usr/$f"
done
cmp -s "$PKG/usr/share/vocabunta/engl.voc" sample/engl.voc || fail "the sample differs"

# The entry runs the launcher in the sample's folder, for engl.voc files, and names the window
# by its Wayland app id (the entry's own name) and its X11 class.
for line in "Exec=/usr/libexec/vocabunta/open %f" "Path=/usr/share/vocabunta" "Icon=$ID" \
    "MimeType=text/x-vocabunta-dictionary;" "StartupWMClass=vocabunta"; do
    grep -qxF "$line" "$APPS" || fail "the desktop entry lacks $line"
done
desktop-file-validate "$APPS"
grep -qF '<glob pattern="engl.voc" case-sensitive="true"/>' "$PKG/usr/share/mime/packages/$ID.xml" ||
    fail "the file type is not for files named exactly engl.voc"
grep -qxF 'exec "/usr/bin/vocabunta"' "$PKG/usr/libexec/vocabunta/open" ||
    fail "the launcher does not start /usr/bin/vocabunta"
echo "ok   files, dependencies, desktop entry, file type and launcher"

# Debian's flags reach every compiler command, and the program shows them.
compiles=$(grep -cE '/c\+\+ .* -c ' build-deb/build.log) || fail "no compiler command in the build log"
[ "$(grep -cE '/c\+\+ .* -D_FORTIFY_SOURCE=2 .* -c ' build-deb/build.log)" = "$compiles" ] ||
    fail "a file is compiled without _FORTIFY_SOURCE"
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
