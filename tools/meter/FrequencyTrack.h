#pragma once
// The instantaneous frequency of the tone from its demodulated form z[m]
// (ToneDemodulator): the phase advance between neighbouring outputs,
//
//     f = f0 + arg(z[m] · conj z[m−1]) · fs_d / (2π),
//
// which is the mean frequency over that interval, so it is placed at the
// middle of the two outputs' times. Taken as the angle of the product, the
// advance needs no unwrapping (it must stay below half a turn, |f − f0| <
// fs_d / 2, which the demodulator's band ensures).

#include <complex>
#include <vector>

namespace wowfix::meter {

class ToneDemodulator;

struct FrequencyTrack {
    double rate = 0.0;         // points per second
    double startTime = 0.0;    // time of point 0, seconds
    std::vector<double> hz;    // instantaneous frequency
    std::vector<double> level; // tone amplitude (peak, full scale 1) at each point
};

FrequencyTrack trackFrequency(const ToneDemodulator& demodulator, double toneHz);

}  // namespace wowfix::meter
