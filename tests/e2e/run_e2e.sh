#!/bin/sh
# Installs a build into the prefix it was configured with, which must lie inside the build folder,
# and meets it as a desktop does: the file manager's type for engl.voc; the desktop entry started
# with and without a file, read over AT-SPI as a screen reader reads it, on a virtual X display
# with private session and accessibility buses; and the window under a headless Wayland
# compositor, where the shell knows it by its app id.
# Usage: run_e2e.sh BUILD_DIR
set -eu

HERE=$(cd -P -- "$(dirname -- "$0")" && pwd)
BUILD=$(cd -P -- "$1" && pwd)
PREFIX=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
fail() {
    echo "e2e: $*" >&2
    exit 1
}
case $PREFIX in
    "$BUILD"/?*) ;;
    *) fail "configure $BUILD with -DCMAKE_INSTALL_PREFIX=$BUILD/prefix, not $PREFIX" ;;
esac
work=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT

ID=ru.vocabunta.Vocabunta
# Installed first with another prefix, chosen when installing: what it writes names that prefix,
# never the configured one.
other=$work/other-prefix
cmake --install "$BUILD" --prefix "$other" >/dev/null
grep -qxF "Exec=$other/libexec/vocabunta/open %f" "$other/share/applications/$ID.desktop" ||
    fail "installed with --prefix, the desktop entry does not start $other/libexec/vocabunta/open"
! grep -rIl "$PREFIX" "$other" || fail "installed with --prefix, these files name $PREFIX"
echo "ok   installed with another prefix, its files name that prefix"

rm -rf "$PREFIX"
cmake --install "$BUILD" >/dev/null
# The prefix's share/ is the desktop's own data folder, in front of the system's.
export XDG_DATA_HOME="$PREFIX/share"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"
mkdir "$work/words"
printf 'one$один\r\ntwo$два\r\nthree$три\r\n' | iconv -f UTF-8 -t CP1251 >"$work/words/engl.voc"
cp "$work/words/engl.voc" "$work/words/other.voc"
TYPE=text/x-vocabunta-dictionary
type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
[ "$(type_of "$work/words/engl.voc")" = $TYPE ] || fail "engl.voc is not $TYPE"
[ "$(type_of "$work/words/other.voc")" != $TYPE ] || fail "other .voc files are claimed too"
gio mime $TYPE | grep -q "^Default application.*$ID.desktop" ||
    fail "the program does not open $TYPE by default"
echo "ok   engl.voc, and only it, is $TYPE, which the program opens"

# Wayland, as a session without an X server has it: Qt must choose its Wayland platform itself,
# and the window's app id must name the desktop entry. Weston starts the program once its socket
# is up; its protocol log shows the app id set before the window is shown.
mkdir -m 700 "$work/run"
printf '[autolaunch]\npath=%s\n' "$PREFIX/bin/vocabunta" >"$work/weston.ini"
mkfifo "$work/protocol"
(cd "$work/words" && exec env -u DISPLAY -u QT_QPA_PLATFORM XDG_SESSION_TYPE=wayland \
    XDG_RUNTIME_DIR="$work/run" WAYLAND_DEBUG=server weston --backend=headless-backend.so \
    --shell=kiosk-shell.so --socket=wayland-e2e --idle-time=0 --config="$work/weston.ini" \
    >"$work/protocol" 2>&1) &
weston=$!
# The last app id set before a surface enters the output, that is, before a window is shown.
app_id=$(timeout 120 sed -u -n -e "w $work/weston.log" -e '/\.set_app_id("/{s/.*\.set_app_id("\(.*\)").*/\1/;h;}' \
    -e '/ -> wl_surface@[0-9]*\.enter(/{x;p;q;}' <"$work/protocol") || true
kill "$weston" 2>/dev/null || true
wait "$weston" || true
[ "$app_id" = $ID ] || {
    tail -n 30 "$work/weston.log" >&2
    fail "under Wayland the window's app id is '$app_id', not $ID"
}
echo "ok   under Wayland the window comes up natively with the app id $app_id"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
timeout -k 10 240 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- \
    /usr/bin/python3 "$HERE/atspi_e2e.py" "$XDG_DATA_HOME/applications/$ID.desktop" \
    "$XDG_DATA_HOME/vocabunta/engl.voc" "$work/words/engl.voc"
