#!/bin/sh
# Installs a build into a private prefix and meets it as a desktop does: the file manager's type
# for engl.voc, then the desktop entry started with and without a file, read over AT-SPI as a
# screen reader reads it, on a virtual display with private session and accessibility buses.
# Usage: run_e2e.sh BUILD_DIR
set -eu

HERE=$(cd -P -- "$(dirname -- "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "e2e: $*" >&2
    exit 1
}

cmake --install "$1" --prefix "$work/usr" >/dev/null
# The prefix's share/ is the desktop's own data folder, in front of the system's.
export XDG_DATA_HOME="$work/usr/share"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"
mkdir "$work/words"
printf 'one$один\r\ntwo$два\r\nthree$три\r\n' | iconv -f UTF-8 -t CP1251 >"$work/words/engl.voc"
cp "$work/words/engl.voc" "$work/words/other.voc"
TYPE=text/x-vocabunta-dictionary
type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
[ "$(type_of "$work/words/engl.voc")" = $TYPE ] || fail "engl.voc is not $TYPE"
[ "$(type_of "$work/words/other.voc")" != $TYPE ] || fail "other .voc files are claimed too"
gio mime $TYPE | grep -q "^Default application.*ru.vocabunta.Vocabunta.desktop" ||
    fail "the program does not open $TYPE by default"
echo "ok   engl.voc, and only it, is $TYPE, which the program opens"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
timeout -k 10 240 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- \
    /usr/bin/python3 "$HERE/atspi_e2e.py" "$XDG_DATA_HOME/applications/ru.vocabunta.Vocabunta.desktop" \
    "$XDG_DATA_HOME/vocabunta/engl.voc" "$work/words/engl.voc"
