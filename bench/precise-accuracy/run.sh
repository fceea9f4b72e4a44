#!/bin/sh
# Accuracy of the precise detectors end to end, and their speed on a long
# file. For each case wowfix-gen makes 20 s of damaged programme (wow 0.3 % at
# 0.5 Hz, flutter 0.1 % at 6 Hz, drift 0.2 %), `auto --algorithm
# pilot-precise|music-precise` corrects it, and the curve found is compared
# with the true one: the RMS error, its constant part (the reference) and the
# rest. Music is run on four seeds, without and with a singer's vibrato
# (5.5 Hz, +-0.5 % on the top voice), which belongs to the programme.
#
# With vibrato, what is left of the damage is also read from the corrected
# file itself: a steady 12 kHz tone is recorded with the programme (so it is
# damaged with it), above the band the partial tracker looks at (80 Hz ..
# 5 kHz by default), so the detector never sees it. In the undamaged original
# that tone is exactly steady; whatever `measure` reads of it in the corrected
# file is what the correction left of the damage, and the vibrato, which is
# only on the voice, is not counted.
#
# Then the same music with its notes loosely tuned (wowfix-gen --intonation).
#
# Usage: bench/precise-accuracy/run.sh [BUILD_DIR] [SEEDS]   (default: build, "1 3 5 7")
set -eu
seeds=${2:-1 3 5 7}
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
for seed in $seeds; do
    run_case music-$seed music-precise --rate 44100 --programme music --seed $seed
done

# The singer's vibrato: the curve must not follow it, and the corrected file
# must keep it.
for seed in $seeds; do
    run_case vibrato-$seed music-precise --rate 44100 --programme music --seed $seed --vibrato 0.5@5.5 --pilot 12000@-30
    echo "witness tone before: $("$host" measure vibrato-$seed.wav --tone 12000 | grep -E '^(unweighted|drift)' | tr '\n' ' ')"
    echo "witness tone after:  $("$host" measure vibrato-$seed-out.wav --tone 12000 | grep -E '^(unweighted|drift)' | tr '\n' ' ')"
done

# Loosely tuned notes: every note off its tempered pitch by up to +-5 and
# +-10 cents, so that partials of different voices no longer coincide but
# beat, and the tuning pins the level less well.
for cents in 5 10; do
    for seed in $seeds; do
        run_case loose$cents-$seed music-precise --rate 44100 --programme music --seed $seed --intonation $cents
        run_case loose$cents-vibrato-$seed music-precise --rate 44100 --programme music --seed $seed \
            --intonation $cents --vibrato 0.5@5.5
    done
done

echo "== auto on 10 minutes of 44.1 kHz stereo (32-bit float WAV)"
"$gen" long.wav --pvc long-true.pvc --rate 44100 --seconds 600 --pilot 19000@-30 $damage > /dev/null
for algorithm in pilot-precise music-precise; do
    /usr/bin/time -f "$algorithm: %e s wall, %U s user, peak resident %M KiB" \
        "$host" detect long.wav --algorithm $algorithm --pvc long-$algorithm.pvc --quiet
    compare long-$algorithm.pvc long-true.pvc
done
echo "files in $work"
