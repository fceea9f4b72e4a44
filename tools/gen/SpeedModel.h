#pragma once
// The damage model: the speed at which a damaged recording plays its
// programme, the programme time each recorded sample holds, and the true PVC.
//
// The programme x(τ) is a function of programme time τ in seconds: what a
// perfect machine would have delivered. With t = n / fs the time of sample n
// of the damaged file, the speed is
//
//     s(t) = 1 + W·sin(2π·f_w·t) + F·sin(2π·f_f·t) + d(t)
//            (wow depth W at rate f_w, flutter depth F at rate f_f, and the
//             slow random drift d of DriftCurve; depths are ratios, 0.003 = 0.3 %)
//
// and the damaged sample n holds the programme at the warped time
//
//     τ(n) = ∫_0^{n/fs} s(t) dt = n/fs + D(n/fs),
//     D(t) = ∫_0^t (s − 1) dt = W·(1 − cos 2π·f_w·t)/(2π·f_w)
//                             + F·(1 − cos 2π·f_f·t)/(2π·f_f) + ∫_0^t d,
//
// that is y[n] = x(τ(n)). A tone f of the programme is heard at f·s(t): s > 1
// is a recording that runs fast, its pitch too high.
//
// The true PVC value. wowfix corrects by reading the damaged file at a
// position p that advances 1/r input frames per output frame, r being the
// curve's value at input frame trunc(p); input frame i thus yields r(i) output
// frames. The result is right when output frame m holds x(m / fs). Input frame
// i spans programme time τ(i) … τ(i+1), which is fs·(τ(i+1) − τ(i)) output
// frames, so the value that restores the programme is the speed averaged
// over the frame:
//
//     r(n) = fs·(τ(n+1) − τ(n)) = 1 + fs·(D((n+1)/fs) − D(n/fs)).
//
// With it the read position reaches frame i exactly at output frame fs·τ(i),
// where both sides hold x(τ(i)). (r(n) differs from the momentary s(n/fs) by
// s'/(2·fs), below 10^-6 for any real wow and flutter, but it is the exact
// value, and it is what the .pvc holds.)

#include <cstdint>

#include "tools/gen/DriftCurve.h"

namespace wowfix::gen {

// A sinusoidal speed modulation: peak deviation `depth` (a ratio) at `rate` Hz.
struct Modulation {
    double depth = 0.0;
    double rate = 0.0;
};

class SpeedModel {
public:
    // Nominal speed everywhere.
    SpeedModel() = default;
    SpeedModel(Modulation wow, Modulation flutter, DriftCurve drift);

    double speed(double t) const;        // s(t)
    double deviationIntegral(double t) const;  // D(t)
    double warpedTime(double t) const { return t + deviationIntegral(t); }  // τ(t)
    // r(n) at sample rate fs: the true PVC value of sample n.
    double frameRatio(std::int64_t n, double fs) const;
    // An upper bound of |s(t) − 1|.
    double largestDeviation() const;

private:
    Modulation wow_;
    Modulation flutter_;
    DriftCurve drift_;
};

}  // namespace wowfix::gen
