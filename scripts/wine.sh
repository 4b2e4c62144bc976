#!/bin/sh
# Runs a command (ctest, a test program, a benchmark) against a fresh Wine prefix in a temporary
# folder, on a virtual display, and removes the prefix afterwards:
#   sh scripts/wine.sh [--win32] [--dpi N] COMMAND [ARGS...]
#   sh scripts/wine.sh --win32 --why-not    prints why 32-bit Wine cannot start here, or nothing
# The prefix is 64-bit, for the 64-bit program, unless --win32 asks for a 32-bit one. It gets the
# TrueType fonts (or Cyrillic captions render as boxes), the classic look, and Wine's virtual
# desktop (or every hidden window costs a 2 s wait).
set -eu

arch=win64
dpi=96
while :; do
    case "${1-}" in
        --win32) arch=win32; shift ;;
        --dpi) dpi=$2; shift 2 ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: sh scripts/wine.sh [--win32] [--dpi N] COMMAND [ARGS...]" >&2; exit 2; }

# Debian's wine script takes the 32-bit loader whenever it is installed, and wineboot, regedit and
# the rest call that script: for a 64-bit prefix a folder in front of PATH names the 64-bit one.
loader=/usr/lib/wine/wine64
[ $arch = win32 ] && loader=/usr/lib/wine/wine
why_not() {
    if [ $arch = win32 ] && [ "${VOCABUNTA_WINE32-}" = off ]; then
        echo "VOCABUNTA_WINE32=off"
    elif [ $arch = win32 ] && ! sh "$(dirname -- "$0")/runs-32bit.sh"; then
        echo "this kernel cannot run 32-bit programs"
    elif [ ! -x $loader ]; then
        echo "$loader is not installed (sh scripts/deps.sh wine)"
    elif ! $loader --version >/dev/null 2>&1; then
        echo "$loader --version fails"
    fi
}
if [ "$1" = --why-not ]; then
    why_not
    exit 0
fi

if [ -z "${VOCABUNTA_WINE_READY-}" ]; then
    why=$(why_not)
    if [ -n "$why" ]; then
        [ $arch = win64 ] || why="$why; a 64-bit prefix may (leave out --win32)"
        echo "wine.sh: $arch Wine cannot start: $why" >&2
        exit 1
    fi
    scratch=$(mktemp -d)
    mkdir "$scratch/bin"
    printf '#!/bin/sh\nexec %s "$@"\n' $loader >"$scratch/bin/wine"
    chmod +x "$scratch/bin/wine"
    cp "$scratch/bin/wine" "$scratch/bin/wine-stable"
    export PATH="$scratch/bin:$PATH" WINELOADER=$loader
    export WINEPREFIX="$scratch/prefix" WINEARCH=$arch WINEDEBUG=-all
    # Wine links Documents and the Desktop to folders of $HOME: a home of its own keeps what a
    # test installs there out of the user's.
    mkdir "$scratch/home"
    export HOME="$scratch/home"
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

# A 64-bit prefix has no 32-bit half here, and says so about its rundll32; anything else is news.
wineboot --init 2>&1 | grep -v -e 'syswow64.*rundll32' -e 'configuration directory' -e 'has been updated' >&2 || true
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine.sh: wineboot made no prefix" >&2; exit 1; }
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
