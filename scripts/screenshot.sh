#!/bin/sh
# Takes docs/screenshot.png anew: the window on the sample dictionary under a virtual display,
# one second after a click on "Англо-русский", so it shows a question and its answer.
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/.." && pwd)
cd "$ROOT"
[ -x build/app/vocabunta ] || { echo "screenshot.sh: build first (sh scripts/run.sh)" >&2; exit 1; }

Xvfb :77 -screen 0 800x600x24 -dpi 96 -noreset >/dev/null 2>&1 &
xvfb=$!
app=""
trap 'kill $app $xvfb 2>/dev/null' EXIT
export DISPLAY=:77
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1)); [ "$i" -lt 100 ] || { echo "screenshot.sh: no display" >&2; exit 1; }; sleep 0.1
done
(cd sample && exec ../build/app/vocabunta) 2>/dev/null &
app=$!
window=$(xdotool search --sync --name 'Вокабунта' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 260)) $((Y + 112)) click 1
sleep 1.3
import -window "$window" docs/screenshot.png
echo "screenshot.sh: wrote docs/screenshot.png"
