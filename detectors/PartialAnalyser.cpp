#include "detectors/PartialAnalyser.h"

#include "detectors/RobustStatistics.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRange = 3.16e-4;      // 70 dB below the strongest
constexpr double kAboveMedian = 10.0;   // 20 dB
constexpr double kBinTolerance = 0.6;
}

bool PartialAnalyser::configure(int length, double sampleRate, double lowest, double highest)
{
    if (!HartleyTransform::isSupportedLength(length) || !(sampleRate > 0.0) || !(lowest < highest))
        return false;
    length_ = length;
    sampleRate_ = sampleRate;
    lowBin_ = std::max(3, static_cast<int>(std::ceil(lowest * length / sampleRate)));
    highBin_ = std::min(length / 2 - 3, static_cast<int>(std::floor(highest * length / sampleRate)));
    if (lowBin_ > highBin_)
        return false;
    window_.resize(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
    {
        // Four-term Blackman-Harris: sidelobes 92 dB down, so a neighbour
        // partial beyond the main lobe (+-4 bins) does not pull the phase.
        const double u = 2.0 * kPi * (i + 0.5) / length;
        window_[static_cast<std::size_t>(i)] =
            static_cast<float>(0.35875 - 0.48829 * std::cos(u) + 0.14128 * std::cos(2.0 * u) - 0.01168 * std::cos(3.0 * u));
    }
    now_.resize(static_cast<std::size_t>(length));
    later_.resize(static_cast<std::size_t>(length));
    magnitude_.resize(static_cast<std::size_t>(length / 2 + 1));
    return true;
}

void PartialAnalyser::analyse(const float* frame, std::vector<SpectralPartial>& partials)
{
    partials.clear();
    const int n = length_;
    if (n == 0)
        return;
    for (int i = 0; i < n; ++i) {
        now_[static_cast<std::size_t>(i)] = frame[i] * window_[static_cast<std::size_t>(i)];
        later_[static_cast<std::size_t>(i)] = frame[i + 1] * window_[static_cast<std::size_t>(i)];
    }
    fft_.realFft(n, now_.data());
    fft_.realFft(n, later_.data());
    // Bin k: real part at [k], the negated imaginary part at [n - k].
    const auto bin = [n](const std::vector<float>& x, int k) {
        return std::complex<double>(x[static_cast<std::size_t>(k)], -static_cast<double>(x[static_cast<std::size_t>(n - k)]));
    };
    double strongest = 0.0;
    for (int k = 1; k < n / 2; ++k) {
        const double m = std::abs(bin(now_, k));
        magnitude_[static_cast<std::size_t>(k)] = m;
        strongest = std::max(strongest, m);
    }
    if (!(strongest > 0.0))
        return;
    scratch_.assign(magnitude_.begin() + 1, magnitude_.begin() + n / 2);
    const double floor = std::max(kRange * strongest, kAboveMedian * medianInPlace(scratch_));
    for (int k = lowBin_; k <= highBin_; ++k) {
        const double m = magnitude_[static_cast<std::size_t>(k)];
        if (m < floor || m <= magnitude_[static_cast<std::size_t>(k - 1)] || m < magnitude_[static_cast<std::size_t>(k + 1)] ||
            m < magnitude_[static_cast<std::size_t>(k - 2)] || m < magnitude_[static_cast<std::size_t>(k + 2)])
            continue;
        const double turn = std::arg(bin(later_, k) * std::conj(bin(now_, k)));
        const double frequency = turn * sampleRate_ / (2.0 * kPi);
        if (std::fabs(frequency * n / sampleRate_ - k) > kBinTolerance)
            continue;
        partials.push_back({frequency, m});
    }
}

}  // namespace wowfix
