#!/bin/sh
# Builds the .deb the Debian way twice, from two folders, and checks that the two are the same
# byte for byte; then checks the package: its dependencies, files, desktop entry, file type and
# launcher, its hardening, Debian's policy (lintian, which also reads the manual pages) and the
# metainfo. Last, the Windows zips and installers: the same bytes from two builds, the exes'
# headers and resources, and the installers as Windows Installer reads them.
# Usage: check_package.sh   (builds into build-deb/, build-deb-again/ and build-windows-again/,
#                            unpacks into build-deb/root/)
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/../.." && pwd)
cd "$ROOT"
fail() {
    echo "package check: $*" >&2
    exit 1
}

sh scripts/deb.sh build-deb >/dev/null
# The second build goes into a folder that holds a file of the user's, which must stay.
mkdir -p build-deb-again
echo mine >build-deb-again/mine.txt
sh scripts/deb.sh build-deb-again >/dev/null
[ -f build-deb-again/mine.txt ] || fail "deb.sh removed a file it had not made"
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

# The entry's icon, and a file type for engl.voc in any case but that one; the rest of the entry
# and the launcher the end-to-end test meets in use: the command, the folder, the file type and
# the window's class.
grep -qxF "Icon=$ID" "$APPS" || fail "the desktop entry lacks Icon=$ID"
desktop-file-validate "$APPS"
grep -qF '<glob pattern="engl.voc" case-sensitive="true"/>' "$PKG/usr/share/mime/packages/$ID.xml" ||
    fail "the file type is not for files named exactly engl.voc"
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

# The Windows programs, built twice from two folders: the same exes, zips and installers, byte
# for byte, and each exe marked as Windows expects of a current program.
for again in 1 2; do
    sh scripts/windows.sh --in "build-windows-again/$again" >/dev/null
done
for zip in build-windows/vocabunta-$VERSION-win32.zip build-win64/vocabunta-$VERSION-win64.zip; do
    for file in "$zip" "${zip%.zip}.msi" "${zip%/*}/vocabunta.exe"; do
        cmp "build-windows-again/1/$file" "build-windows-again/2/$file" || fail "$file differs between two builds"
    done
    exe=build-windows-again/1/${zip%/*}/vocabunta.exe
    flags=$(x86_64-w64-mingw32-objdump -p "$exe" |
        sed -n '/^DllCharacteristics/,/^Size/p' | tr -s ' \t\n' ' ')
    for flag in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
        case $flags in *" $flag "*) ;; *) fail "${zip%/*}/vocabunta.exe is not $flag: $flags" ;; esac
    done
    # Its resources as windres reads them back: all in Russian, the icon at 16, 32, 48 and 256
    # pixels (in octal, 256 as 0), the version and name (Вокабунта), and a manifest for the
    # current controls, each monitor's dpi and no elevation.
    rc=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
    [ "$(printf '%s\n' "$rc" | grep '^LANGUAGE')" = "LANGUAGE 25, 1" ] || fail "a resource not in Russian"
    icons=$(printf '%s\n' "$rc" | sed -n 's/^ *"\\\([0-7]*\)\\.*Element no.*/\1/p' | tr '\n' ' ')
    [ "$icons" = "020 040 060 000 " ] || fail "the icon's sizes are $icons"
    for line in ' FILEVERSION 1, 0, 0, 0' '      VALUE "ProductVersion", "1.00"' \
        '      VALUE "ProductName", L"\x0412\x043e\x043a\x0430\x0431\x0443\x043d\x0442\x0430"'; do
        printf '%s\n' "$rc" | grep -qxF "$line" || fail "${zip%/*}/vocabunta.exe lacks $line"
    done
    for part in PerMonitorV2 'Common-Controls"" version=""6.0.0.0""' 'level=""asInvoker""'; do
        printf '%s\n' "$rc" | grep -qF "$part" || fail "${zip%/*}/vocabunta.exe's manifest lacks $part"
    done
    # The installer, read with msitools: for the exe's platform as Windows Installer names it
    # (any other name is refused), Russian, in Windows-1251 (the database and the summary, whose
    # code page is its one 2-byte integer), named Вокабунта, and the words component never
    # overwritten (128) and never removed (16): where no 32-bit program runs, the 32-bit
    # installer is checked here alone.
    msi=build-windows-again/1/${zip%.zip}.msi
    case $(x86_64-w64-mingw32-objdump -f "$exe") in
        *"architecture: i386,"*) platform=Intel ;;
        *"architecture: i386:x86-64,"*) platform=x64 ;;
        *) fail "${zip%/*}/vocabunta.exe is for neither i386 nor x86-64" ;;
    esac
    database=$(msiinfo suminfo "$msi" | iconv -f CP1251 -t UTF-8
        for table in Property _ForceCodepage Component; do msiinfo export "$msi" $table; done)
    tab=$(printf '\t')
    for line in "Template: $platform;1049" "Author: Вокабунта" "ProductLanguage${tab}1049" \
        "ProductName${tab}Вокабунта" "1251${tab}_ForceCodepage"; do
        printf '%s\n' "$database" | tr -d '\r' | grep -qxF "$line" || fail "${msi##*/} lacks $line"
    done
    msiinfo extract "$msi" "$(printf '\005SummaryInformation')" | od -An -tx1 -v | tr -s ' \n' ' ' |
        grep -q ' 02 00 00 00 e3 04 00 00 ' || fail "${msi##*/}'s summary is not in code page 1251"
    words=$(printf '%s\n' "$database" | awk -F '\t' '$1 == "Words" { print $4 }')
    [ $((${words:-0} & 144)) = 144 ] || fail "${msi##*/}'s words may be overwritten or removed: $words"
done
case $flags in *" HIGH_ENTROPY_VA "*) ;; *) fail "the 64-bit exe is not HIGH_ENTROPY_VA: $flags" ;; esac
echo "ok   two Windows builds from two folders give the same zips and installers: $(
    cd build-windows-again/1 && sha256sum build-windows/*.zip build-windows/*.msi build-win64/*.zip \
        build-win64/*.msi | tr '\n' ' ')"
echo "ok   both exes: DEP, ASLR, Terminal Server aware (the 64-bit one high-entropy); icon, version and manifest, in Russian"
echo "ok   both installers: Intel and x64 as their exes, Russian in Windows-1251, Вокабунта, the words kept"
echo "package check: $(basename "$DEB") and both Windows zips and installers are reproducible; the .deb is complete, hardened and valid"
