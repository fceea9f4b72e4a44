# Shared by the accuracy scripts: sourced after `set -eu` with the build folder
# as $1. Sets $gen, $host and $work (a new temporary folder, made current),
# and compare FOUND.pvc TRUE.pvc.
build=$(cd "${1:-build}" && pwd)
gen=$build/tools/gen/wowfix-gen
host=$build/hostsim/wowfix-host
work=$(mktemp -d "${TMPDIR:-/tmp}/wowfix-accuracy-XXXXXX")
cd "$work"

# found.pvc true.pvc -> RMS error, constant part and the rest, in %
compare() {
    awk 'BEGIN { nf = 0; nt = 0 }
         FNR == 1 { file++ }
         { gsub(",", "."); sub("\r$", "") }
         NF == 2 && file == 1 { fp[nf] = $1 + 0; fv[nf] = $2 + 0; nf++ }
         NF == 2 && file == 2 { tp[nt] = $1 + 0; tv[nt] = $2 + 0; nt++ }
         END {
             j = 0
             for (i = 0; i < nt; i++) {
                 x = tp[i]
                 while (j + 1 < nf && fp[j + 1] <= x) j++
                 if (x <= fp[0]) f = fv[0]
                 else if (j + 1 >= nf) f = fv[nf - 1]
                 else f = fv[j] + (x - fp[j]) / (fp[j + 1] - fp[j]) * (fv[j + 1] - fv[j])
                 d = f - tv[i]; s += d; q += d * d; w += (tv[i] - 1) * (tv[i] - 1)
             }
             m = s / nt; r = sqrt(q / nt); v = sqrt(q / nt - m * m)
             printf "curve error: RMS %.4f %%, constant part %+.4f %%, the rest %.4f %% RMS (damage itself %.4f %% RMS, %d points)\n",
                    100 * r, 100 * m, 100 * v, 100 * sqrt(w / nt), nf
         }' "$1" "$2"
}
