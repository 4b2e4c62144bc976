#!/bin/sh
# Installs, with apt, what Вокабунта needs on Debian 12 (bookworm):
#   sh scripts/deps.sh run    to build the program and run it;
#   sh scripts/deps.sh deb    the same, and what building the .deb needs on top;
#   sh scripts/deps.sh test   all that, and what every test and check needs on top;
#   sh scripts/deps.sh windows  what cross-building the Windows programs needs (no Wine);
#   sh scripts/deps.sh wine     that, and what testing them under Wine needs: 64-bit Wine, and
#                               32-bit Wine too where the kernel runs 32-bit programs (not when
#                               VOCABUNTA_WINE32=off, which tests as a machine without them would).
#   sh scripts/deps.sh web      what building the page and testing it in a headless browser needs.
# Safe to run again: when every package asked for is installed it does nothing.
# The lists are split into words on purpose throughout.
# shellcheck disable=SC2086
set -eu

# Building and running the program:
#   build-essential, cmake, ninja-build   the compiler and the build system
#   qt6-base-dev, qt6-base-dev-tools      Qt 6 Widgets headers, CMake packages, moc
#   libgl-dev, libxkbcommon-dev           Qt6Gui's CMake package looks for both
#   qt6-qpa-plugins                       the xcb and offscreen platforms: the window needs one
#   qt6-wayland                           the Wayland platform: a native window under GNOME and KDE
#   fonts-liberation2                     the design's fonts, with Cyrillic
#   qt6-translations-l10n                 Qt's own Russian texts (standard buttons, menus)
RUN="build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
    libxkbcommon-dev qt6-qpa-plugins qt6-wayland fonts-liberation2 qt6-translations-l10n"

# Building the .deb, on top:
#   dpkg-dev, debhelper                   dpkg-buildpackage and the dh sequence of debian/rules
DEB="dpkg-dev debhelper"

# The tests and checks, on top:
#   clang, libclang-rt-14-dev, llvm-14    sanitizer and fuzzer builds: clang only recommends its
#                                         runtimes; llvm-symbolizer names lines in a crash
#   desktop-file-utils, appstream         validating the desktop entry and the metainfo
#   xvfb, xauth                           a virtual display (xvfb-run needs xauth)
#   shared-mime-info, libglib2.0-bin      the file type as a file manager sees it; gio launch
#   dbus-daemon, dbus-bin, at-spi2-core, python3, python3-gi, python3-pyatspi,
#   gir1.2-glib-2.0, gir1.2-atspi-2.0     the window as a screen reader meets it
#   imagemagick, xdotool                  scripts/screenshot.sh; xdotool and x11-utils' xprop
#   x11-utils                             find the window's X11 class in the end-to-end test
#   lintian, devscripts                   the package's policy check; hardening-check
#   weston                                a headless Wayland compositor for the end-to-end test
#   git, clang-format, shellcheck         the tracked files' formatting and the shell scripts
#   hyperfine                             bench/scale.sh times whole processes with it
#   doctest-dev                           the header-only test library of the core's tests
TEST="clang libclang-rt-14-dev llvm-14 desktop-file-utils appstream xvfb xauth
    shared-mime-info libglib2.0-bin dbus-daemon dbus-bin at-spi2-core python3 python3-gi
    python3-pyatspi gir1.2-glib-2.0 gir1.2-atspi-2.0 imagemagick xdotool x11-utils lintian
    devscripts weston git clang-format shellcheck hyperfine doctest-dev"

# The Windows programs, cross-built:
#   cmake, ninja-build                    the build system
#   g++-mingw-w64-i686-posix,             the compilers for 32- and 64-bit Windows, posix thread
#   g++-mingw-w64-x86-64-posix            model
#   imagemagick                           the icon, drawn from ui/icons/*.xpm
#   zip                                   the zips, the same bytes from every build
#   wixl, msitools                        the installers (wixl, msibuild)
#   faketime                              the time an installer records, fixed at the commit's
WINDOWS="cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix imagemagick zip
    wixl msitools faketime"

# Their tests under Wine, on top:
#   doctest-dev                           the Windows tests' header-only test library
#   wine, wine64                          64-bit Wine: the 64-bit program and its tests
#   fonts-wine                            Wine's own fonts: the title bar's buttons
#   xvfb, xauth, fonts-liberation2,       a virtual display, and fonts with Cyrillic for the
#   fonts-dejavu-core                     prefix, or Russian captions render as boxes
#   binutils                              a 32-bit program of a few bytes, to ask the kernel
# and, where the kernel runs 32-bit programs, wine32:i386 (installed before any prefix is made,
# or 64-bit Wine breaks; it needs the i386 architecture).
WINE="$WINDOWS doctest-dev wine wine64 fonts-wine xvfb xauth fonts-liberation2 fonts-dejavu-core
    binutils"

# The page, and its tests in a browser:
#   emscripten                            em++, and its system libraries prebuilt
#   cmake, ninja-build                    the build system
#   imagemagick                           the icons, drawn from ui/icons/*.xpm at build time
#   fonts-liberation2, python3-fonttools, the design's fonts, shipped with the page as WOFF2,
#   python3-brotli                        only the letters it shows
#   doctest-dev                           the core's tests, and the page's, under em++
#   chromium, chromium-driver,            a headless browser, driven through WebDriver, for the
#   python3-selenium                      page's tests
WEB="emscripten cmake ninja-build imagemagick fonts-liberation2 python3-fonttools python3-brotli
    doctest-dev chromium chromium-driver python3-selenium"

case "${1-}" in
    run) PACKAGES=$RUN ;;
    deb) PACKAGES="$RUN $DEB" ;;
    test) PACKAGES="$RUN $DEB $TEST" ;;
    windows) PACKAGES=$WINDOWS ;;
    wine) PACKAGES=$WINE ;;
    web) PACKAGES=$WEB ;;
    *) echo "usage: sh scripts/deps.sh run|deb|test|windows|wine|web" >&2; exit 2 ;;
esac

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "deps.sh: apt-get/dpkg-query not found; this script is for Debian 12." >&2
    echo "deps.sh: install these packages (or their equivalents) yourself:" $PACKAGES >&2
    exit 1
fi

# Installs the packages asked for that are missing; run again, it does nothing.
install_packages() {
    missing=""
    for p in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
        if [ "$status" != "installed" ]; then
            missing="$missing $p"
        fi
    done
    if [ -z "$missing" ]; then
        echo "deps.sh: all packages already installed."
        return
    fi
    echo "deps.sh: installing:$missing"

    if [ "$(id -u)" -eq 0 ]; then
        AS_ROOT=""
    elif command -v sudo >/dev/null 2>&1; then
        AS_ROOT="sudo"
    else
        echo "deps.sh: not root and sudo is not available." >&2
        echo "deps.sh: as root, run: apt-get update && apt-get install -y --no-install-recommends" "$@" >&2
        exit 1
    fi

    # wine32:i386 and its libraries come from the i386 architecture.
    case "$*" in
        *:i386*)
            if ! dpkg --print-foreign-architectures | grep -qx i386; then
                $AS_ROOT dpkg --add-architecture i386
            fi
            ;;
    esac
    # Another program may hold the package lock (an unattended upgrade does): apt-get install waits
    # for it, apt-get update does not, so that is tried again, for ten minutes at most.
    apt="$AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600"
    tries=0
    until out=$($apt update 2>&1); do
        case $out in
            *"Could not get lock"*) ;;
            *) echo "$out" >&2; exit 1 ;;
        esac
        tries=$((tries + 1))
        [ $tries -lt 60 ] || { echo "$out" >&2; exit 1; }
        [ $tries != 1 ] || echo "deps.sh: waiting for another program to let go of the package lists"
        sleep 10
    done
    # The whole list is passed (not only the missing ones) so apt can also upgrade
    # or repair a half-installed package.
    $apt install -y --no-install-recommends "$@"
}

install_packages $PACKAGES
if [ "$1" = wine ]; then
    if [ "${VOCABUNTA_WINE32-}" = off ]; then
        echo "deps.sh: 32-bit Wine not installed: VOCABUNTA_WINE32=off"
    elif sh "$(dirname -- "$0")/runs-32bit.sh"; then
        install_packages wine32:i386
    else
        echo "deps.sh: 32-bit Wine not installed: this kernel cannot run 32-bit programs"
    fi
fi
