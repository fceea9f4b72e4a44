#include "tools/gen/NoiseSource.h"

#include <cmath>

namespace wowfix::gen {

namespace {

// RMS of the pinking filter's output for white noise of RMS 1: the root of
// the energy of its impulse response, summed until it has died away.
double pinkGain(double sampleRate) {
    PinkingFilter filter(sampleRate);
    double energy = 0.0;
    const long length = static_cast<long>(2.0 * sampleRate);  // the slowest pole, 5 Hz, has decayed by then
    for (long n = 0; n < length; ++n) {
        const double h = filter.process(n == 0 ? 1.0 : 0.0);
        energy += h * h;
    }
    return std::sqrt(energy);
}

}  // namespace

NoiseSource::NoiseSource(bool pink, double rms, int channels, double sampleRate, std::uint64_t seed)
    : sampleRate_(sampleRate) {
    for (int c = 0; c < channels; ++c) {
        random_.emplace_back(seed, RandomStream::Noise, static_cast<std::uint64_t>(c));
        if (pink) pinking_.emplace_back(sampleRate);
    }
    scale_ = pink ? rms / pinkGain(sampleRate) : rms;
}

long NoiseSource::read(float* interleaved, long frames, std::string&) {
    const int channels = this->channels();
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            double x = random_[c].gaussian();
            if (!pinking_.empty()) x = pinking_[c].process(x);
            interleaved[i * channels + c] = static_cast<float>(scale_ * x);
        }
    return frames;
}

}  // namespace wowfix::gen
