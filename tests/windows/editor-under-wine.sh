#!/bin/sh
# The real Win32 editor under Wine on a virtual screen: its spectrogram panel,
# copied from the screen, must equal the software layer's panel in the same
# state, pixel for pixel. Exit 77 (skipped) when wine or xvfb-run is not
# installed; a missing Windows build is a failure. The pictures stay in
# OUT_DIR (panel.bmp, editor.bmp) for a look.
#
# Usage: tests/windows/editor-under-wine.sh WINDOWS_BUILD_DIR PANEL_MATCH OUT_DIR
set -eu
build=$1
match=$2
out=$3
command -v wine > /dev/null || { echo "wine is not installed: skipped"; exit 77; }
command -v xvfb-run > /dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
capture=$build/host/wowfix-editor-capture.exe
plugin=$build/host/wowfix.dll
for file in "$capture" "$plugin" "$match"; do
    [ -f "$file" ] || { echo "missing $file: build the Windows plug-in first (see the README)"; exit 1; }
done
mkdir -p "$out"
# Wine's drive Z: is the root folder (winepath itself would start Wine early).
windows_path() {
    case $1 in
        /*) printf 'Z:%s' "$1" | tr / '\\' ;;
        *) printf 'Z:%s/%s' "$(pwd)" "$1" | tr / '\\' ;;
    esac
}
rm -f "$out/panel.bmp" "$out/editor.bmp"
# A Wine prefix of this test's own: a Wine server that another Wine program
# started without a screen (or on another one) would give this window no
# display driver. The build makes the prefix; one that lingers from an earlier
# run is stopped first.
WINEPREFIX=$out/wine
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i
wineserver -k 2> /dev/null || true
wineserver -w
# A true-colour screen, said outright: on a screen of 256 colours or fewer
# the compatible bitmaps of the panel's layers could not hold the palette.
status=0
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; status=$?; wineserver -w; exit $status' capture \
    "$capture" \
    "$(windows_path "$plugin")" "$(windows_path "$out/panel.bmp")" "$(windows_path "$out/editor.bmp")" || status=$?
[ "$status" -eq 0 ] || { echo "the editor under Wine failed (exit $status)"; exit 1; }
"$match" "$out/panel.bmp"
