#include "detectors/SpectrumShaper.h"

#include "spectral/WindowFunction.h"

#include <cmath>

namespace wowfix {

SpectrumShaper::SpectrumShaper() : window_(maxLength, 0.0f), preemphasisFourth_(maxBins, 0.0) {}

bool SpectrumShaper::configure(int fftLength, int exponent)
{
    const bool powerOfTwo = fftLength >= 16 && fftLength <= maxLength && (fftLength & (fftLength - 1)) == 0;
    if (!powerOfTwo || exponent < 1 || exponent > maxExponent)
        return false;
    fillWindow(kHannWindow, window_.data(), fftLength);
    const int K = fftLength / 2 + 1;
    for (int k = 0; k < K; ++k) {
        const float p = static_cast<float>(std::pow((k + 1.0) / K, exponent));
        const double p2 = static_cast<double>(p) * p;
        preemphasisFourth_[k] = p2 * p2;
    }
    fftLength_ = fftLength;
    exponent_ = exponent;
    return true;
}

void SpectrumShaper::applyWindow(const float* frame, float* work) const
{
    for (int i = 0; i < fftLength_; ++i)
        work[i] = frame[i] * window_[i];
}

void SpectrumShaper::shapeSpectrum(const float* work, double* spectrum) const
{
    const int N = fftLength_;
    const int half = N / 2;
    auto fourth = [](double re, double im) {
        const double power = re * re + im * im;
        return power * power;
    };
    spectrum[0] = fourth(work[0], 0.0) * preemphasisFourth_[0];
    for (int k = 1; k < half; ++k)
        spectrum[k] = fourth(work[k], work[N - k]) * preemphasisFourth_[k];
    spectrum[half] = fourth(work[half], 0.0) * preemphasisFourth_[half];
}

}  // namespace wowfix
