#!/bin/sh
# Runs a command (ctest, a test program, a benchmark) against a fresh 32-bit Wine prefix in a
# temporary folder, on a virtual display, and removes the prefix afterwards:
#   sh scripts/wine.sh [--dpi N] COMMAND [ARGS...]
# The prefix gets the TrueType fonts (or Cyrillic captions render as boxes), the classic look,
# and Wine's virtual desktop (or every hidden window costs a 2 s wait).
set -eu

dpi=96
if [ "${1-}" = "--dpi" ]; then
    dpi=$2
    shift 2
fi
[ $# -gt 0 ] || { echo "usage: sh scripts/wine.sh [--dpi N] COMMAND [ARGS...]" >&2; exit 2; }

if [ -z "${VOCABUNTA_WINE_READY-}" ]; then
    scratch=$(mktemp -d)
    export WINEPREFIX="$scratch/prefix" WINEARCH=win32 WINEDEBUG=-all
    # Wine writes a Windows file name in the locale's character set: without UTF-8 (no locale at
    # all, as on a fresh system) a Cyrillic name cannot be made.
    export LC_ALL=C.UTF-8
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export VOCABUNTA_WINE_READY=1
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
    trap 'exit 1' INT TERM
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" --dpi "$dpi" "$@"
    exit
fi

wineboot --init 2>/dev/null
fonts="$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf \
    /usr/share/wine/fonts/marlett.ttf "$fonts/"
reg="$(dirname "$WINEPREFIX")/settings.reg"
printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]' \
    '"ThemeActive"="0"' '' \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=dword:$(printf '%08x' "$dpi")" '' \
    >"$reg"
wine regedit /S "$reg"
wineserver -w
# One wine server for the whole run, so each program starts in well under a second, and the
# virtual desktop up before the first test, so that it holds no test's output open.
wineserver -p
wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 &
wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1
"$@"
