#!/bin/sh
# Accuracy of the precise detectors end to end, and their speed on a long
# file. For each case wowfix-gen makes 20 s of damaged programme (wow 0.3 % at
# 0.5 Hz, flutter 0.1 % at 6 Hz, drift 0.2 %), `auto --algorithm
# pilot-precise|music-precise` corrects it, and the curve found is compared
# with the true one: the RMS error, its constant part (the reference) and the
# rest. The vibrato case (a singer's 5.5 Hz, +-0.5 % on the top voice, which
# belongs to the programme) also compares the corrected file with the
# undamaged original: the vibrato must still be there.
#
# Usage: bench/precise-accuracy/run.sh [BUILD_DIR]   (default: build)
set -eu
. "$(dirname "$0")/../scripts/accuracy-common.sh"
damage="--wow 0.3@0.5 --flutter 0.1@6 --drift 0.2"

# The detector's options for auto come in $params (e.g. --param pilot-frequency=19000).
params=""
run_case() {  # name algorithm gen-options...
    name=$1; algorithm=$2; shift 2
    "$gen" $name.wav --pvc $name-true.pvc --seconds 20 "$@" $damage > /dev/null
    echo "== $name ($algorithm $params)"
    if "$host" auto $name.wav $name-out.wav --algorithm $algorithm $params --pvc-out $name-found.pvc --quiet; then
        compare $name-found.pvc $name-true.pvc
    fi
}

# A 3150 Hz test tone recorded with the programme: measure reads what is left.
for case in 44100:19000 48000:19000 96000:30000; do
    rate=${case%:*}; pilot=${case#*:}
    run_case pilot-$rate pilot-precise --rate $rate --programme music --test-tone -20 --pilot $pilot@-30
    echo "before: $("$host" measure pilot-$rate.wav | grep weighted)"
    echo "after:  $("$host" measure pilot-$rate-out.wav | grep weighted)"
done
params="--param pilot-frequency=19000"
run_case pilot-nominal pilot-precise --rate 44100 --programme music --test-tone -20 --pilot 19000@-30
echo "after:  $("$host" measure pilot-nominal-out.wav | grep -E 'weighted|offset')"
params=""
run_case pilot-noisy pilot-precise --rate 44100 --programme noise:white@-30 --pilot 19000@-30
run_case music music-precise --rate 44100 --programme music
run_case chords music-precise --rate 44100 --programme music --seed 7

# The singer's vibrato: the curve must not follow it, and the corrected file
# must keep it. The test tone is absent here; the original is the same
# programme generated without damage.
echo "== vibrato (music-precise)"
"$gen" vib.wav --pvc vib-true.pvc --seconds 20 --programme music --vibrato 0.5@5.5 $damage > /dev/null
"$gen" vib-clean.wav --pvc vib-clean.pvc --seconds 20 --programme music --vibrato 0.5@5.5 > /dev/null
if "$host" auto vib.wav vib-out.wav --algorithm music-precise --pvc-out vib-found.pvc --quiet; then
    compare vib-found.pvc vib-true.pvc
    # What is left of the damage in the corrected file, measured as the
    # original's curve found again: the detector run on the corrected file
    # and on the undamaged original must agree.
    "$host" detect vib-out.wav --algorithm music-precise --pvc vib-after.pvc --quiet
    "$host" detect vib-clean.wav --algorithm music-precise --pvc vib-before.pvc --quiet
    echo "corrected against original: $(compare vib-after.pvc vib-before.pvc)"
fi

echo "== auto on 10 minutes of 44.1 kHz stereo (32-bit float WAV)"
"$gen" long.wav --pvc long-true.pvc --rate 44100 --seconds 600 --pilot 19000@-30 $damage > /dev/null
for algorithm in pilot-precise music-precise; do
    /usr/bin/time -f "$algorithm: %e s wall, %U s user, peak resident %M KiB" \
        "$host" detect long.wav --algorithm $algorithm --pvc long-$algorithm.pvc --quiet
done
echo "files in $work"
