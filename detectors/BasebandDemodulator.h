#pragma once
// Moves a narrow band around a centre frequency down to 0 Hz and decimates
// it: the analytic signal of the band, one complex value every D samples.
//
//     z[n] = x[n] e^(-i 2 pi fc n / fs),   y[m] = sum_j h[j] z[mD + j]
//
// h is a Blackman-windowed sinc, cut-off at half the output rate, long enough
// that everything which would alias into +-halfBandwidth is 70 dB down. The
// filter is symmetric, so y[m] describes the band at input sample
// mD + (L - 1) / 2 (L taps), and a steady tone at fc + d gives values that
// turn by exactly 2 pi d D / fs from one to the next, whatever the filter's
// ripple.

#include <complex>
#include <vector>

namespace wowfix {

class BasebandDemodulator {
public:
    // False (and no output) for a band that does not fit: a centre outside
    // (0, fs/2) or a half bandwidth outside (0, fs/8).
    bool configure(double sampleRate, double centre, double halfBandwidth);
    void reset();

    int decimation() const { return decimation_; }
    int taps() const { return static_cast<int>(kernel_.size()); }
    double outputRate() const { return sampleRate_ / decimation_; }
    double centre() const { return centre_; }
    // Input position of output m: m * D + delay().
    double delay() const { return 0.5 * (taps() - 1); }

    // Takes the next input sample; answers true with the next output in
    // `out` when one is complete.
    bool push(double x, std::complex<double>& out);

private:
    double sampleRate_ = 0.0;
    double centre_ = 0.0;
    int decimation_ = 1;
    std::vector<double> kernel_;
    std::vector<std::complex<double>> ring_;  // two copies of the last L mixed samples
    int write_ = 0;
    long long count_ = 0;
    std::complex<double> oscillator_{1.0, 0.0};
    std::complex<double> rotation_{1.0, 0.0};
};

}  // namespace wowfix
