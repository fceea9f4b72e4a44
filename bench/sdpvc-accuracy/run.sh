#!/bin/sh
# Accuracy of the spectral-domain detector end to end, and its cost on long
# files. For each case: wowfix-gen makes 20 s of music (harmonic notes and
# chords, no pilot, no hum) with a 3150 Hz test tone, damaged by 0.3 % wow at
# 0.5 Hz and 0.1 % flutter at 4 Hz; `auto --algorithm spectral` finds the
# curve in four 5-second areas whose band (100 ... 2900 Hz) leaves the test
# tone out, and corrects the file along it; `measure` reads the test tone
# before and after, and the curve found is compared with the true one.
#
# Usage: bench/sdpvc-accuracy/run.sh [BUILD_DIR]   (default: build)
set -eu
. "$(dirname "$0")/../scripts/accuracy-common.sh"

# The same damage on a steady 2000 Hz tone (band 1500 ... 2500 Hz) shows
# what the detector reaches when every frame has one clean partial.
music_areas="--area 0:5:100:2900 --area 5:10:100:2900 --area 10:15:100:2900 --area 15:20:100:2900"
tone_areas="--area 0:5:1500:2500 --area 5:10:1500:2500 --area 10:15:1500:2500 --area 15:20:1500:2500"
for case in music@-1:44100 music@-1:96000 sine:2000@-6:44100 sine:2000@-6:96000; do
    programme=${case%:*}; rate=${case##*:}
    name=${programme%%[:@]*}-$rate
    areas=$music_areas
    [ "${programme%%:*}" = sine ] && areas=$tone_areas
    "$gen" $name.wav --pvc $name-true.pvc --rate $rate --seconds 20 --programme $programme --test-tone -20 \
        --wow 0.3@0.5 --flutter 0.1@4 > /dev/null
    echo "== $programme, $rate Hz"
    echo "before: $("$host" measure $name.wav | grep weighted)"
    for fft in 512 4096; do
        "$host" auto $name.wav $name-$fft-out.wav --algorithm spectral $areas --param fft-length=$fft \
            --pvc-out $name-$fft-found.pvc --quiet 2> $name-$fft.log || { echo "fft $fft: failed"; cat $name-$fft.log; continue; }
        echo "-- FFT Length $fft"
        echo "after:  $("$host" measure $name-$fft-out.wav | grep weighted)"
        compare $name-$fft-found.pvc $name-true.pvc
    done
done

for minutes in 1 10; do
    seconds=$((minutes * 60))
    "$gen" long-$minutes.wav --pvc long-$minutes-true.pvc --rate 44100 --seconds $seconds --programme music@-1 \
        --wow 0.3@0.5 --flutter 0.1@4 > /dev/null
    echo "== detect on $minutes min of 44.1 kHz stereo (5-second areas, band from the programme)"
    /usr/bin/time -f "detect: %e s wall, %U s user, peak resident %M KiB" \
        "$host" detect long-$minutes.wav --algorithm spectral --pvc long-$minutes.pvc --quiet
done
echo "files in $work"
