#!/bin/sh
# Runs atspi_e2e.py against the program on a private X display, session bus and accessibility
# bus, and tears all of them down afterwards, whatever happened.
# Usage: run_atspi_e2e.sh BINARY SAMPLE_DIR
# Exits with the test's status (124 if the whole run overran its time).
# Several functions run only through trap and poll, which shellcheck cannot follow.
# shellcheck disable=SC2317
set -u

HERE=$(cd -P -- "$(dirname -- "$0")" && pwd)
# The whole run, setup and teardown included; the test itself gives up on any wait long before.
RUN_SECONDS=${ATSPI_E2E_SECONDS:-240}
STEP_SECONDS=20

say() { echo "run_atspi_e2e: $*" >&2; }

if [ "${1-}" != "--inside" ]; then
    if [ $# -ne 2 ]; then
        say "usage: $0 BINARY SAMPLE_DIR"
        exit 2
    fi
    [ -x "$1" ] || { say "not an executable: $1"; exit 2; }
    [ -f "$2/engl.voc" ] || { say "no engl.voc in $2"; exit 2; }
    binary=$(cd -P -- "$(dirname -- "$1")" && pwd)/$(basename -- "$1")
    sample=$(cd -P -- "$2" && pwd)
    for tool in timeout dbus-run-session dbus-send Xvfb /usr/libexec/at-spi-bus-launcher \
                /usr/bin/python3; do
        command -v "$tool" >/dev/null 2>&1 || { say "missing $tool (see the package list)"; exit 2; }
    done
    # timeout signals its whole process group, so nothing started below outlives the run.
    timeout -k 10 "$RUN_SECONDS" \
        dbus-run-session -- sh "$HERE/run_atspi_e2e.sh" --inside "$binary" "$sample"
    status=$?
    [ "$status" -eq 124 ] && say "the whole run took more than ${RUN_SECONDS}s and was stopped"
    exit "$status"
fi

binary=$2
sample=$3
# An accessibility bus named by the caller's environment would win over ours.
unset AT_SPI_BUS_ADDRESS
work=$(mktemp -d "${TMPDIR:-/tmp}/atspi_e2e.XXXXXX")
xvfb_pid=""
bus_pid=""
app_pid=""

# True while PID is a live process (a zombie counts as gone).
alive() {
    state=$(sed -n 's/.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

stop() {
    [ -n "$1" ] || return 0
    kill -TERM "$1" 2>/dev/null
    i=0
    while alive "$1" && [ "$i" -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    alive "$1" && kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}

cleanup() {
    trap - EXIT INT TERM HUP
    stop "$app_pid"
    stop "$bus_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' INT TERM HUP

show_log() {
    if [ -s "$work/$1" ]; then
        say "--- last lines of $1 ---"
        tail -n 30 "$work/$1" >&2
    fi
}

# Polls COMMAND... once every 0.1 s until it succeeds or STEP_SECONDS pass.
poll() {
    i=0
    until "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -ge $((STEP_SECONDS * 10)) ] && return 1
        sleep 0.1
    done
    return 0
}

# -displayfd lets the server pick a free display number and tells it once it is listening.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() { grep -q '^[0-9][0-9]*$' "$work/display"; }
if ! poll display_known; then
    say "Xvfb did not report a display within ${STEP_SECONDS}s"
    show_log xvfb.log
    exit 1
fi
DISPLAY=:$(cat "$work/display")
export DISPLAY
accepts() { /usr/bin/python3 -c 'import Xlib.display; Xlib.display.Display().close()'; }
if ! poll accepts; then
    say "Xvfb on $DISPLAY does not accept connections"
    show_log xvfb.log
    exit 1
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus_pid=$!
# The name is checked first so that GetAddress never starts a second launcher by activation.
bus_named() {
    dbus-send --session --print-reply=literal --reply-timeout=2000 \
        --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q true
}
bus_answers() {
    dbus-send --session --print-reply=literal --reply-timeout=2000 \
        --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | grep -q unix:
}
if ! poll bus_named || ! poll bus_answers; then
    say "the accessibility bus did not answer within ${STEP_SECONDS}s"
    show_log bus.log
    exit 1
fi

(cd "$sample" && QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    exec "$binary") >"$work/app.log" 2>&1 &
app_pid=$!

PYTHONIOENCODING=utf-8 /usr/bin/python3 "$HERE/atspi_e2e.py" --pid "$app_pid" --dictionary "$sample/engl.voc"
status=$?

if [ "$status" -eq 0 ]; then
    # The test saw the process end; a crash on the way out still fails the run.
    wait "$app_pid"
    app_status=$?
    app_pid=""
    if [ "$app_status" -ne 0 ]; then
        say "the program exited with status $app_status after its window was closed"
        status=1
    fi
fi
if [ "$status" -ne 0 ]; then
    show_log app.log
    show_log bus.log
fi
exit "$status"
