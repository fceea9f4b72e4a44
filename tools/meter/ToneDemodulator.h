#pragma once
// Brings a tone near `toneHz` down to 0 Hz and keeps only its neighbourhood:
// the audio x[n] is multiplied by e^(−2πi·f0·n/fs) and low-passed by a
// Kaiser FIR (flat to kPassHz, at least kStopDb down from kStopHz, which also
// removes the mirror image at −2·f0), evaluated only at every D-th sample.
// A tone A·cos(2π·f·t + φ) with |f − f0| < kPassHz comes out as
// (A/2)·e^(i(2π·(f − f0)·t + φ)), so the phase of the output is the phase of
// the tone relative to f0.
//
// Output m is computed from inputs mD … mD + N − 1 (N the FIR's length): its
// time is that of input mD + (N − 1)/2, the FIR's centre. Samples are fed in
// any blocks; the outputs accumulate in `output()`.

#include <complex>
#include <vector>

namespace wowfix::meter {

class ToneDemodulator {
public:
    static constexpr double kPassHz = 300.0;
    static constexpr double kStopHz = 1000.0;
    static constexpr double kStopDb = 120.0;
    static constexpr double kLowestOutputRate = 4000.0;

    ToneDemodulator(double toneHz, double sampleRate);

    void feed(const float* samples, long count);

    double outputRate() const { return sampleRate_ / decimation_; }
    int decimation() const { return decimation_; }
    // Time in seconds of output m.
    double outputTime(long m) const;
    const std::vector<std::complex<double>>& output() const { return output_; }

private:
    double toneHz_;
    double sampleRate_;
    int decimation_;
    std::vector<double> taps_;
    std::vector<std::complex<double>> mixed_;  // mixed inputs not yet needed by every later output
    long mixedStart_ = 0;                      // input index of mixed_[0]
    long inputs_ = 0;
    std::vector<std::complex<double>> output_;
};

}  // namespace wowfix::meter
