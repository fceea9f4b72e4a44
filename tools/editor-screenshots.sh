#!/bin/sh
# Writes the README's pictures of the editor, one per algorithm, into docs/:
# generated recordings, each opened in the editor without a screen and taken
# through the same steps a user's clicks make. Run from the top folder after
# the build:  tools/editor-screenshots.sh [BUILD]
set -eu
build=${1:-build}
gen="$build/tools/gen/wowfix-gen"
host="$build/hostsim/wowfix-host"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs

# A music recording with a 19 kHz pilot, 0.3 % of wow at 0.5 Hz.
"$gen" "$work/pilot.wav" --pvc "$work/pilot-true.pvc" --rate 48000 --seconds 8 --wow 0.3@0.5 \
  --pilot 19000@-30 > /dev/null
# Mains hum picked up on the tape, with 0.3 % of wow.
"$gen" "$work/hum.wav" --pvc "$work/hum-true.pvc" --rate 48000 --seconds 8 --wow 0.3@0.5 \
  --hum 50@-30 --hum-on-tape > /dev/null
# One steady partial under 1 % of slow wow: 8 kHz for the spectral detector,
# 2 kHz for the centre of gravity.
"$gen" "$work/partial8k.wav" --pvc "$work/partial8k-true.pvc" --seconds 8 --wow 1@0.25 \
  --programme sine:8000@-12 > /dev/null
"$gen" "$work/partial2k.wav" --pvc "$work/partial2k-true.pvc" --seconds 8 --wow 1@0.25 \
  --programme sine:2000@-12 > /dev/null

shot() {  # INPUT NAME STEPS...
  input=$1 name=$2
  shift 2
  printf '%s\n' "$@" "screenshot docs/editor-$name.png" > "$work/$name.txt"
  "$host" script "$input" "$work/$name.txt" --quiet > /dev/null
  echo "docs/editor-$name.png"
}

shot "$work/pilot.wav" pilot "click 72=4" "click 40"
shot "$work/pilot.wav" precise "click 72=4" "click 107" "click 40"
shot "$work/pilot.wav" manual "click 72=4" "click 40" "click 72=1" "click 65" "click 66"
shot "$work/hum.wav" hum "click 72=3" "click 40"
# Panel rows of the full view: 259 (1 - f / 22050); the area spans 9 ... 7 kHz,
# the zoom 2.4 ... 1.6 kHz.
shot "$work/partial8k.wav" spectral "click 72=2" "drag 2,153 667,177" "click 80"
shot "$work/partial2k.wav" centre-of-gravity "click 96" "drag 2,231 667,240" "click 72=5"
