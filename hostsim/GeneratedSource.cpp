#include "hostsim/GeneratedSource.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wowfix::hostsim {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

GeneratedSource::GeneratedSource(std::int64_t frames, double sampleRate, std::vector<double> frequencies,
                                 double amplitude)
    : frames_(frames < 0 ? 0 : frames),
      sampleRate_(sampleRate),
      frequencies_(std::move(frequencies)),
      amplitude_(amplitude) {}

double GeneratedSource::sampleAt(int c, std::int64_t n) const {
    // The phase is reduced in whole cycles first so that it stays exact for long files.
    const double cycles = frequencies_[static_cast<std::size_t>(c)] * static_cast<double>(n) / sampleRate_;
    return amplitude_ * std::sin(kTwoPi * (cycles - std::floor(cycles)));
}

bool GeneratedSource::read(std::int64_t position, int count, float* const* channel) {
    if (count < 0 || position < 0 || position > frames_ - count) {
        error_ = "read outside the generated signal";
        return false;
    }
    for (int c = 0; c < channels(); ++c) {
        // Exact phase at every kSegment-th frame, then a rotating phasor: cheap
        // enough that generating the signal does not swamp what is measured
        // with it, and each frame's value is the same however the reads fall.
        const double frequency = frequencies_[static_cast<std::size_t>(c)];
        const double step = kTwoPi * frequency / sampleRate_;
        const double cosStep = std::cos(step);
        const double sinStep = std::sin(step);
        float* out = channel[c];
        std::int64_t n = position;
        const std::int64_t end = position + count;
        while (n < end) {
            const std::int64_t anchor = n - n % kSegment;
            const std::int64_t segmentEnd = std::min(anchor + kSegment, end);
            const double cycles = frequency * static_cast<double>(anchor) / sampleRate_;
            const double phase = kTwoPi * (cycles - std::floor(cycles));
            double re = std::cos(phase);
            double im = std::sin(phase);
            for (std::int64_t i = anchor; i < segmentEnd; ++i) {
                if (i >= n) out[i - position] = static_cast<float>(amplitude_ * im);
                const double nextRe = re * cosStep - im * sinStep;
                im = re * sinStep + im * cosStep;
                re = nextRe;
            }
            n = segmentEnd;
        }
    }
    return true;
}

}  // namespace wowfix::hostsim
