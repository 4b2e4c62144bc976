#!/bin/sh
# Installs, with apt, what Вокабунта needs on Debian 12 (bookworm):
#   sh scripts/deps.sh run    to build the program and run it;
#   sh scripts/deps.sh deb    the same, and what building the .deb needs on top;
#   sh scripts/deps.sh test   all that, and what every test and check needs on top;
#   sh scripts/deps.sh windows  what building the Windows program and testing it under Wine need.
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

# The Windows program, cross-built and tested under Wine:
#   cmake, ninja-build                    the build system
#   g++-mingw-w64-i686-posix,             the 32-bit Windows compiler (the program) and the 64-bit
#   g++-mingw-w64-x86-64-posix            one (the core kept portable), posix thread model
#   imagemagick                           the icon, drawn from ui/icons/vocabunta.xpm
#   doctest-dev                           the Windows tests' header-only test library
#   wine, wine32:i386                     runs them (wine32 before any prefix is made, or 64-bit
#                                         Wine breaks; it needs the i386 architecture)
#   fonts-wine                            Wine's own fonts: the title bar's buttons
#   xvfb, xauth, fonts-liberation2,       a virtual display, and fonts with Cyrillic for the
#   fonts-dejavu-core                     prefix, or Russian captions render as boxes
WINDOWS="cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix imagemagick
    doctest-dev wine wine32:i386 fonts-wine xvfb xauth fonts-liberation2 fonts-dejavu-core"

case "${1-}" in
    run) PACKAGES=$RUN ;;
    deb) PACKAGES="$RUN $DEB" ;;
    test) PACKAGES="$RUN $DEB $TEST" ;;
    windows) PACKAGES=$WINDOWS ;;
    *) echo "usage: sh scripts/deps.sh run|deb|test|windows" >&2; exit 2 ;;
esac

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "deps.sh: apt-get/dpkg-query not found; this script is for Debian 12." >&2
    echo "deps.sh: install these packages (or their equivalents) yourself:" $PACKAGES >&2
    exit 1
fi

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    if [ "$status" != "installed" ]; then
        missing="$missing $p"
    fi
done
if [ -z "$missing" ]; then
    echo "deps.sh: all packages already installed."
    exit 0
fi
echo "deps.sh: installing:$missing"

if [ "$(id -u)" -eq 0 ]; then
    AS_ROOT=""
elif command -v sudo >/dev/null 2>&1; then
    AS_ROOT="sudo"
else
    echo "deps.sh: not root and sudo is not available." >&2
    echo "deps.sh: as root, run: apt-get update && apt-get install -y --no-install-recommends" $PACKAGES >&2
    exit 1
fi

# wine32:i386 and its libraries come from the i386 architecture.
case "$PACKAGES" in
    *:i386*)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $AS_ROOT dpkg --add-architecture i386
        fi
        ;;
esac
$AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get update
# The whole list is passed (not only the missing ones) so apt can also upgrade
# or repair a half-installed package.
$AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $PACKAGES
