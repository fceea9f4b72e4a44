#include "detectors/BasebandDemodulator.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kRenormalise = 4096;  // samples between restoring |oscillator| = 1
}

bool BasebandDemodulator::configure(double sampleRate, double centre, double halfBandwidth)
{
    kernel_.clear();
    if (!(sampleRate > 0.0) || !(centre > 0.0) || !(centre < 0.5 * sampleRate) || !(halfBandwidth > 0.0) ||
        !(halfBandwidth < sampleRate / 8.0))
        return false;
    sampleRate_ = sampleRate;
    centre_ = centre;
    // Output rate about 3 x the half bandwidth: the band and a transition.
    decimation_ = std::max(1, static_cast<int>(sampleRate / (3.0 * halfBandwidth)));
    const double rate = sampleRate / decimation_;
    const double transition = std::max(rate - 2.0 * halfBandwidth, 0.05 * rate);
    int length = static_cast<int>(std::ceil(5.6 * sampleRate / transition)) | 1;
    length = std::max(length, 3);
    kernel_.resize(static_cast<std::size_t>(length));
    const double cutoff = 0.5 * rate / sampleRate;  // cycles per input sample
    const int half = length / 2;
    double sum = 0.0;
    for (int j = 0; j < length; ++j) {
        const double k = j - half;
        const double sinc = k == 0 ? 2.0 * cutoff : std::sin(2.0 * kPi * cutoff * k) / (kPi * k);
        const double phase = 2.0 * kPi * j / (length - 1);
        const double blackman = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
        sum += kernel_[static_cast<std::size_t>(j)] = sinc * blackman;
    }
    for (double& h : kernel_)
        h /= sum;
    rotation_ = std::polar(1.0, -2.0 * kPi * centre / sampleRate);
    reset();
    return true;
}

void BasebandDemodulator::reset()
{
    ring_.assign(2 * kernel_.size(), std::complex<double>(0.0, 0.0));
    write_ = 0;
    count_ = 0;
    oscillator_ = std::complex<double>(1.0, 0.0);
}

bool BasebandDemodulator::push(double x, std::complex<double>& out)
{
    const int length = taps();
    if (length == 0)
        return false;
    const std::complex<double> mixed = x * oscillator_;
    ring_[static_cast<std::size_t>(write_)] = mixed;
    ring_[static_cast<std::size_t>(write_ + length)] = mixed;
    write_ = write_ + 1 == length ? 0 : write_ + 1;
    oscillator_ *= rotation_;
    ++count_;
    if (count_ % kRenormalise == 0)
        oscillator_ /= std::abs(oscillator_);
    if (count_ < length || (count_ - length) % decimation_ != 0)
        return false;
    // ring_[write_ .. write_ + L - 1] holds the last L samples, oldest first.
    const std::complex<double>* z = ring_.data() + write_;
    const double* h = kernel_.data();
    double re = 0.0;
    double im = 0.0;
    for (int j = 0; j < length; ++j) {
        re += h[j] * z[j].real();
        im += h[j] * z[j].imag();
    }
    out = std::complex<double>(re, im);
    return true;
}

}  // namespace wowfix
