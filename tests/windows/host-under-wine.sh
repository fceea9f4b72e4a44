#!/bin/sh
# wowfix-host.exe under Wine against the Linux wowfix-host: the plug-in's
# info, a correction with a given curve, a pilot-tone auto run (clicking
# through the real editor window) and a short script on that window must give
# the same sound (within 1e-6) and curve as the Linux build's, and the
# spectrogram and measure pictures the same bytes, in a folder whose path has
# spaces; an output that exists is replaced; screenshot --after shows what
# the click opened, and a click on a hidden button is refused; a path longer
# than Windows takes and the batch command are refused with a message and
# leave nothing. Everything runs on one virtual screen, in
# a Wine prefix of the test's own (WORK_DIR/wine), so that the editor's
# windows have a display. Exit 77 (skipped) when wine or xvfb-run is not
# installed; a missing Windows build is a failure.
#
# Usage: tests/windows/host-under-wine.sh WINDOWS_BUILD_DIR LINUX_HOST LINUX_PLUGIN GEN OUTPUT_MATCH WORK_DIR
set -eu
build=$1
linux_host=$2
linux_plugin=$3
gen=$4
match=$5
work=$6
command -v wine > /dev/null || { echo "wine is not installed: skipped"; exit 77; }
command -v xvfb-run > /dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
# The whole test on one true-colour virtual screen.
if [ -z "${WOWFIX_WINE_SCREEN:-}" ]; then
    WOWFIX_WINE_SCREEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
host=$build/hostsim/wowfix-host.exe
for file in "$host" "$build/host/wowfix.dll" "$build/host/PVC_Plugin.dll" "$build/host/Zendral.dll" \
            "$linux_host" "$linux_plugin" "$gen" "$match"; do
    [ -f "$file" ] || { echo "missing $file: build the Windows host first (see the README)"; exit 1; }
done
WINEDEBUG=-all
WINEPREFIX=$work/wine
export WINEDEBUG WINEPREFIX
# Wine's drive Z: is the root folder (winepath itself would start Wine early).
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
fail() {
    echo "FAILED: $*"
    exit 1
}
# The host beside its plug-in, as it is installed: it finds wowfix.dll there.
dir="$work/with spaces"
rm -rf "$dir"
mkdir -p "$dir/bin"
# The build makes the prefix; a Wine server that lingers from an earlier run
# (on a screen that is gone) is stopped first, and this run's at the end.
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i
wineserver -k 2> /dev/null || true
wineserver -w
trap 'wineserver -k 2> /dev/null || true' EXIT
cp "$host" "$build/host/wowfix.dll" "$build/host/PVC_Plugin.dll" "$build/host/Zendral.dll" "$dir/bin/"
win_host() {
    wine "$dir/bin/wowfix-host.exe" "$@"
}

echo "== info"
win_host info > "$dir/info-windows.txt" || fail "info under Wine"
"$linux_host" info --plugin "$linux_plugin" > "$dir/info-linux.txt" || fail "info on Linux"
# The same plug-in says the same of itself; only the path it was loaded from differs.
grep -q '^plug-in: .*with spaces.*wowfix\.dll (entry VSTPluginMain)' "$dir/info-windows.txt" ||
    fail "info does not name the DLL beside the host: $(cat "$dir/info-windows.txt")"
grep -v '^plug-in:' "$dir/info-windows.txt" | tr -d '\r' > "$dir/info-windows.rest"
grep -v '^plug-in:' "$dir/info-linux.txt" > "$dir/info-linux.rest"
diff "$dir/info-linux.rest" "$dir/info-windows.rest" || fail "info differs between Linux and Windows"

echo "== a damaged recording with a pilot tone"
"$gen" "$dir/damaged take.wav" --pvc "$dir/true curve.pvc" --programme music --pilot 19000@-30 \
    --wow 0.3@0.5 --flutter 0.1@6 --rate 48000 --seconds 3 > /dev/null || fail "wowfix-gen"

echo "== correct with the true curve"
"$linux_host" correct "$dir/damaged take.wav" "$dir/corrected linux.wav" --pvc "$dir/true curve.pvc" \
    --quiet --plugin "$linux_plugin" || fail "correct on Linux"
win_host correct "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/corrected windows.wav")" \
    --pvc "$(windows_path "$dir/true curve.pvc")" --quiet || fail "correct under Wine"
"$match" "$dir/corrected linux.wav" "$dir/corrected windows.wav" || fail "correct: the outputs differ"
# Again onto the file now there: it is replaced whole, not refused nor added to.
win_host correct "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/corrected windows.wav")" \
    --pvc "$(windows_path "$dir/true curve.pvc")" --quiet || fail "correct onto an existing output under Wine"
"$match" "$dir/corrected linux.wav" "$dir/corrected windows.wav" || fail "correct: the replaced output differs"
leftover=$(find "$dir" -name '*.partial-*')
[ -z "$leftover" ] || fail "temporary files left behind: $leftover"

echo "== auto with the pilot tone"
"$linux_host" auto "$dir/damaged take.wav" "$dir/auto linux.wav" --algorithm pilot --pvc-out "$dir/auto linux.pvc" \
    --quiet --plugin "$linux_plugin" || fail "auto on Linux"
win_host auto "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/auto windows.wav")" --algorithm pilot \
    --pvc-out "$(windows_path "$dir/auto windows.pvc")" --quiet || fail "auto under Wine"
"$match" "$dir/auto linux.wav" "$dir/auto windows.wav" || fail "auto: the outputs differ"
[ -s "$dir/auto windows.pvc" ] || fail "auto under Wine wrote no curve"
cmp -s "$dir/auto linux.pvc" "$dir/auto windows.pvc" || fail "auto: the curves differ"

echo "== a script on the real editor window"
# The pilot tracker chosen in the selector, a step on its first bar (a click
# on the bar's arrow), "Create PVC", the curve exported
# through the file dialog (twice: the second time "Replace it?" answers
# itself) and the correction processed.
printf 'click 72=4\nclick 30=0\nclick 40\nexport %s\nexport %s\nprocess %s\n' "$dir/script linux.pvc" "$dir/script linux.pvc" \
    "$dir/script linux.wav" > "$dir/script linux.txt"
win_curve=$(windows_path "$dir/script windows.pvc")
printf 'click 72=4\nclick 30=0\nclick 40\nexport %s\nexport %s\nprocess %s\n' "$win_curve" "$win_curve" \
    "$(windows_path "$dir/script windows.wav")" > "$dir/script windows.txt"
"$linux_host" script "$dir/damaged take.wav" "$dir/script linux.txt" --quiet --plugin "$linux_plugin" \
    > "$dir/script linux.out" || fail "script on Linux: $(cat "$dir/script linux.out")"
win_host script "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/script windows.txt")" --quiet \
    > "$dir/script windows.out" || fail "script under Wine: $(cat "$dir/script windows.out")"
grep -q 'script: 6 steps done' "$dir/script windows.out" || fail "script under Wine: $(cat "$dir/script windows.out")"
"$match" "$dir/script linux.wav" "$dir/script windows.wav" || fail "script: the outputs differ"
cmp -s "$dir/script linux.pvc" "$dir/script windows.pvc" || fail "script: the curves differ"

echo "== screenshot --after a click"
# Choosing the pilot tracker shows its panel of parameters: the window is not
# what it was before the click.
win_host screenshot "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/window.png")" --quiet ||
    fail "screenshot under Wine"
win_host screenshot "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/window pilot.png")" \
    --after "click 72=4" --quiet || fail "screenshot --after under Wine"
[ -s "$dir/window pilot.png" ] || fail "screenshot --after under Wine wrote no picture"
! cmp -s "$dir/window.png" "$dir/window pilot.png" || fail "screenshot --after: the click changed nothing"
status=0
win_host screenshot "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/refused.png")" \
    --after "click 40" --quiet 2> "$dir/refused.err" || status=$?
[ "$status" -eq 1 ] || fail "a click on a hidden button under Wine answered $status, not 1"
grep -q "action 'click 40' cannot be done" "$dir/refused.err" || fail "no clear message: $(cat "$dir/refused.err")"
[ ! -e "$dir/refused.png" ] || fail "a picture was written after a refused click"

echo "== pictures: spectrogram and measure's plot"
# Written as the other outputs are (through a temporary file opened again by
# its name), and the same bytes as on Linux.
"$linux_host" spectrogram "$dir/damaged take.wav" "$dir/spectrogram linux.png" --quiet --plugin "$linux_plugin" ||
    fail "spectrogram on Linux"
win_host spectrogram "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$dir/spectrogram windows.png")" \
    --quiet || fail "spectrogram under Wine"
cmp "$dir/spectrogram linux.png" "$dir/spectrogram windows.png" || fail "spectrogram: the pictures differ"
(cd "$dir" && "$linux_host" measure "damaged take.wav" --plot "plot.png" > "measure linux.txt") || fail "measure on Linux"
mv "$dir/plot.png" "$dir/plot linux.png"
(cd "$dir" && win_host measure "damaged take.wav" --plot "plot.png" | tr -d '\r' > "measure windows.txt") ||
    fail "measure under Wine"
diff "$dir/measure linux.txt" "$dir/measure windows.txt" || fail "measure: the figures differ"
cmp "$dir/plot linux.png" "$dir/plot.png" || fail "measure: the plots differ"
leftover=$(find "$dir" -name '*.partial-*')
[ -z "$leftover" ] || fail "temporary files left behind: $leftover"

echo "== a name outside ASCII"
# Characters of the ANSI code page (here Windows-1252) reach the file: the
# Unix name is UTF-8, which Wine turns into the code page for the program.
cp "$dir/damaged take.wav" "$dir/tåke é.wav"
LANG=C.UTF-8 win_host measure "$(windows_path "$dir/tåke é.wav")" > "$dir/accented.txt" ||
    fail "measure of a file named 'tåke é.wav' under Wine: $(cat "$dir/accented.txt")"
grep -q 'measured over' "$dir/accented.txt" || fail "no measurement of 'tåke é.wav': $(cat "$dir/accented.txt")"

echo "== refusals"
long="$dir/$(printf 'x%.0s' $(seq 1 250)).wav"
status=0
win_host correct "$(windows_path "$dir/damaged take.wav")" "$(windows_path "$long")" \
    --pvc "$(windows_path "$dir/true curve.pvc")" --quiet 2> "$dir/long.err" || status=$?
[ "$status" -ne 0 ] || fail "a path longer than Windows takes was accepted"
grep -q 'Windows takes at most 259' "$dir/long.err" || fail "no clear message for a long path: $(cat "$dir/long.err")"
[ -z "$(find "$dir" -name 'xxxxxxxx*')" ] || fail "a file was left for the long path"
status=0
win_host batch "$(windows_path "$dir/jobs.toml")" 2> "$dir/batch.err" || status=$?
[ "$status" -eq 2 ] || fail "batch under Wine answered $status, not 2"
grep -q 'not available on Windows' "$dir/batch.err" || fail "no clear message for batch: $(cat "$dir/batch.err")"
echo "wowfix-host.exe under Wine matches the Linux build"
