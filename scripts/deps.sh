#!/bin/sh
# Installs, with apt, everything needed to build Вокабунта, run it and run its
# tests on Debian 12 (bookworm). Safe to run again: when every package below is
# already installed it does nothing.
# PACKAGES is split into words on purpose throughout.
# shellcheck disable=SC2086
set -eu

# One place for the package list: add to it here.
#   build-essential        g++ and make
#   cmake, ninja-build     the build system (the scripts use the Ninja generator)
#   qt6-base-dev           Qt 6 Widgets/Gui/Core/Test headers and CMake packages
#   qt6-base-dev-tools     moc/uic/rcc used by CMAKE_AUTOMOC (a dependency of
#                          qt6-base-dev anyway; named so nobody drops it)
#   libgl-dev              Qt6Gui's CMake package requires OpenGL (WrapOpenGL)
#   libxkbcommon-dev       optional for Qt6Gui's CMake package; without it every
#                          configure prints "Could NOT find XKB"
#   qt6-qpa-plugins        the xcb and offscreen platform plugins: without them
#                          the program and the widget tests cannot start
#   fonts-liberation2      a real TrueType font, so text renders (and is measured)
#                          the same on a bare machine as on a desktop
#   qt6-translations-l10n  Qt's own Russian translations of standard dialogs/buttons
#   clang                  a second compiler, for sanitizer and fuzzing builds
#   libclang-rt-14-dev     clang's ASan, UBSan and libFuzzer runtimes: clang only recommends
#                          them, so without this the fuzzer does not link
#   llvm-14                llvm-symbolizer, so a fuzzer crash report names functions and lines
#   xvfb                   a virtual X display, for the end-to-end test and screenshots
#   imagemagick, xdotool   scripts/screenshot.sh: click the window and capture it
#   dpkg-dev, file         building the .deb (dpkg-shlibdeps) and checking its icons
#   desktop-file-utils     desktop-file-validate, for the installed desktop entry
#   appstream              appstreamcli, for the installed metainfo
#   dbus-daemon, dbus-bin, at-spi2-core, python3-pyatspi, python3-gi,
#   gir1.2-glib-2.0, gir1.2-atspi-2.0, python3-xlib
#                          the end-to-end test as a screen reader meets the window: a private
#                          session bus, the accessibility bus, and Debian's own python3 with its
#                          AT-SPI and X bindings
PACKAGES="
    build-essential
    cmake
    ninja-build
    qt6-base-dev
    qt6-base-dev-tools
    libgl-dev
    libxkbcommon-dev
    qt6-qpa-plugins
    fonts-liberation2
    qt6-translations-l10n
    clang
    libclang-rt-14-dev
    llvm-14
    xvfb
    imagemagick
    xdotool
    dpkg-dev
    file
    desktop-file-utils
    appstream
    dbus-daemon
    dbus-bin
    at-spi2-core
    python3
    python3-gi
    gir1.2-glib-2.0
    gir1.2-atspi-2.0
    python3-pyatspi
    python3-xlib
"

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

$AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get update
# The whole list is passed (not only the missing ones) so apt can also upgrade
# or repair a half-installed package.
$AS_ROOT env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $PACKAGES
