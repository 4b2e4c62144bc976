#!/bin/sh
# Takes docs/screenshot.png anew: the window at twice the scale (704x478, as software centres
# want it) on the sample dictionary under a virtual display, one second after a click on
# "Англо-русский", so it shows a question and its answer. Needs the test packages
# (sh scripts/deps.sh test) and a build (sh scripts/run.sh).
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"
[ -x build/vocabunta ] || { echo "screenshot.sh: build first (sh scripts/run.sh)" >&2; exit 1; }
for tool in Xvfb xdotool import; do
    command -v $tool >/dev/null || { echo "screenshot.sh: no $tool: sh scripts/deps.sh test" >&2; exit 1; }
done
SCALE=2

work=$(mktemp -d "${TMPDIR:-/tmp}/screenshot.XXXXXX")
xvfb=""
app=""
trap 'kill $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb picks a free display itself and writes its number once it accepts clients.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r display <"$work/display" || true
[ -n "${display-}" ] || { cat "$work/xvfb.log" >&2; echo "screenshot.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

(cd sample && QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$SCALE exec ../build/vocabunta) &
app=$!
# The window's class, which its desktop entry names; the Cyrillic title is no use to xdotool.
window=$(xdotool search --sync --onlyvisible --class '^vocabunta$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# "Англо-русский" stands at (260, 112) in the window's own units.
xdotool mousemove $((X + 260 * SCALE)) $((Y + 112 * SCALE)) click 1
sleep 1.3
import -window "$window" docs/screenshot.png
echo "screenshot.sh: wrote docs/screenshot.png ($WIDTH x $HEIGHT)"
