#!/bin/sh
# The real Win32 editor under Wine on a virtual screen: its spectrogram panel,
# copied from the screen, must equal the software layer's panel in the same
# state, pixel for pixel. Exit 77 (skipped) when wine or xvfb-run is not
# installed; a missing Windows build is a failure. The pictures stay in
# OUT_DIR (panel.bmp, editor.bmp) for a look.
#
# With the Linux host, plug-in and generator given too, the same file is shot
# with `screenshot --panel` by the Linux host and by wowfix-host.exe on the
# virtual screen (the real window, after the spectrogram pass): the two
# panels must be the same pixels (panel-linux.png, panel-windows.png).
#
# Usage: tests/windows/editor-under-wine.sh WINDOWS_BUILD_DIR PANEL_MATCH OUT_DIR [LINUX_HOST LINUX_PLUGIN GEN]
set -eu
build=$1
match=$2
out=$3
linux_host=${4:-}
linux_plugin=${5:-}
gen=${6:-}
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

[ -n "$linux_host" ] || exit 0
host=$build/hostsim/wowfix-host.exe
for file in "$host" "$linux_host" "$linux_plugin" "$gen"; do
    [ -f "$file" ] || { echo "missing $file: build the Windows host first (see the README)"; exit 1; }
done
rm -f "$out/take.wav" "$out/take.pvc" "$out/panel-linux.png" "$out/panel-windows.png"
"$gen" "$out/take.wav" --pvc "$out/take.pvc" --programme music --pilot 19000@-30 --wow 0.3@0.5 --rate 48000 --seconds 1 > /dev/null ||
    { echo "wowfix-gen failed"; exit 1; }
"$linux_host" screenshot "$out/take.wav" "$out/panel-linux.png" --panel --quiet --plugin "$linux_plugin" ||
    { echo "screenshot on Linux failed"; exit 1; }
status=0
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; status=$?; wineserver -w; exit $status' shot \
    "$host" screenshot "$(windows_path "$out/take.wav")" "$(windows_path "$out/panel-windows.png")" --panel --quiet ||
    status=$?
[ "$status" -eq 0 ] || { echo "screenshot under Wine failed (exit $status)"; exit 1; }
cmp "$out/panel-linux.png" "$out/panel-windows.png" ||
    { echo "screenshot --panel: the Windows panel differs from the Linux one"; exit 1; }
echo "screenshot --panel: the same pixels on Linux and under Wine"
