#!/bin/sh
# Accuracy of hum-tracking correction end to end. For each case: wowfix-gen
# makes 20 s of a programme with a 3150 Hz test tone and mains hum recorded
# onto the tape at -40 dB with its 2nd and 3rd harmonics (wow 0.3 % at 0.5 Hz,
# flutter 0.05 % at 3 Hz, mains drift 0.02 %), `auto --algorithm hum` tracks the
# harmonic named, `measure` reads the test tone before and after, and the curve
# found is compared with the true one. Then how fast a wobble the tracker
# follows: a steady programme and 0.1 % flutter at several rates.
#
# Usage: bench/hum-accuracy/run.sh [BUILD_DIR]   (default: build)
set -eu
. "$(dirname "$0")/../scripts/accuracy-common.sh"

# case NAME RATE HUM PROGRAMME NOMINAL LOW HIGH: one correction, the hum
# harmonic at NOMINAL Hz tracked in the band LOW ... HIGH Hz.
correction() {
    name=$1; rate=$2; hum=$3; programme=$4; nominal=$5; low=$6; high=$7
    [ -f $name.wav ] || "$gen" $name.wav --pvc $name-true.pvc --rate $rate --seconds 20 --programme $programme \
        --test-tone -20 --hum $hum@-40 --hum-on-tape --hum-harmonics --hum-drift 0.02 \
        --wow 0.3@0.5 --flutter 0.05@3 > /dev/null
    "$host" auto $name.wav $name-$nominal.wav --algorithm hum --param nominal-frequency=$nominal \
        --param band-lower-bound=$low --param band-upper-bound=$high --pvc-out $name-$nominal.pvc --quiet 2> /dev/null
    echo "== $rate Hz, hum $hum Hz, $programme, tracking $nominal Hz ($low ... $high Hz)"
    echo "before: $("$host" measure $name.wav | grep weighted)"
    echo "after:  $("$host" measure $name-$nominal.wav | grep weighted)"
    compare $name-$nominal.pvc $name-true.pvc
}

correction music50 48000 50 music 50 45 55
correction music50 48000 50 music 100 90 110
correction music60 44100 60 music 60 55 65
correction music60 44100 60 music 180 170 190
correction steady50 48000 50 sine:1000@-12 50 45 55

echo "== how fast a wobble is followed: 1 kHz programme, hum 50 Hz at -40 dB, 0.1 % flutter at R Hz"
for r in 0.5 1 1.5 2 3 5; do
    "$gen" rate-$r.wav --pvc rate-$r-true.pvc --rate 48000 --seconds 20 --programme sine:1000@-12 \
        --hum 50@-40 --hum-on-tape --hum-drift 0 --flutter 0.1@$r > /dev/null
    "$host" detect rate-$r.wav --algorithm hum --pvc rate-$r.pvc --quiet 2> /dev/null
    echo "$r Hz: $(compare rate-$r.pvc rate-$r-true.pvc) against 0.0707 % RMS of flutter"
done

echo "files in $work"
