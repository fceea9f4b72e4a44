#!/bin/sh
# Accuracy of pilot-tone correction end to end, and the speed of `auto` on a
# 10-minute file. For each case: wowfix-gen makes 20 s of music with a 3150 Hz
# test tone and a pilot at -30 dB (wow 0.3 % at 0.5 Hz, flutter 0.1 % at 6 Hz,
# drift 0.2 %), `auto --algorithm pilot` corrects it, `measure` reads the test
# tone before and after, and the curve found is compared with the true one.
#
# Usage: bench/pilot-accuracy/run.sh [BUILD_DIR]   (default: build)
set -eu
. "$(dirname "$0")/../scripts/accuracy-common.sh"

for case in 44100:19000 48000:19000 96000:30000; do
    rate=${case%:*}; pilot=${case#*:}; name=pilot-$rate
    "$gen" $name.wav --pvc $name-true.pvc --rate $rate --seconds 20 --programme music --test-tone -20 \
        --pilot $pilot@-30 --wow 0.3@0.5 --flutter 0.1@6 --drift 0.2 > /dev/null
    "$host" auto $name.wav $name-out.wav --algorithm pilot --pvc-out $name-found.pvc --quiet 2> /dev/null
    echo "== $rate Hz, pilot $pilot Hz"
    echo "before: $("$host" measure $name.wav | grep weighted)"
    echo "after:  $("$host" measure $name-out.wav | grep weighted)"
    compare $name-found.pvc $name-true.pvc
done

echo "== auto on 10 minutes of 44.1 kHz stereo (32-bit float WAV)"
"$gen" long.wav --pvc long-true.pvc --rate 44100 --seconds 600 --test-tone -20 --pilot 19000@-30 \
    --wow 0.3@0.5 --flutter 0.1@6 --drift 0.2 > /dev/null
/usr/bin/time -f "auto: %e s wall, %U s user, peak resident %M KiB" \
    "$host" auto long.wav long-out.wav --algorithm pilot --quiet
echo "files in $work"
