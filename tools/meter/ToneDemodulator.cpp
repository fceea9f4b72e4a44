#include "tools/meter/ToneDemodulator.h"

#include <cmath>

#include "tools/meter/KaiserLowPass.h"

namespace wowfix::meter {

ToneDemodulator::ToneDemodulator(double toneHz, double sampleRate)
    : toneHz_(toneHz),
      sampleRate_(sampleRate),
      decimation_(std::max(1, static_cast<int>(sampleRate / kLowestOutputRate))),
      taps_(kaiserLowPass(kPassHz, kStopHz, kStopDb, sampleRate)) {}

double ToneDemodulator::outputTime(long m) const {
    return (static_cast<double>(m) * decimation_ + 0.5 * static_cast<double>(taps_.size() - 1)) / sampleRate_;
}

void ToneDemodulator::feed(const float* samples, long count) {
    const double cyclesPerSample = toneHz_ / sampleRate_;
    for (long i = 0; i < count; ++i, ++inputs_) {
        // The mixing phase from the sample index itself, so that it does not
        // drift however long the file is.
        const double cycles = cyclesPerSample * static_cast<double>(inputs_);
        const double phase = 2.0 * M_PI * (cycles - std::floor(cycles));
        mixed_.push_back(static_cast<double>(samples[i]) * std::polar(1.0, -phase));
    }
    const long length = static_cast<long>(taps_.size());
    for (;;) {
        const long m = static_cast<long>(output_.size());
        const long first = m * decimation_;
        if (first + length > inputs_) break;
        std::complex<double> sum = 0.0;
        const std::complex<double>* x = mixed_.data() + (first - mixedStart_);
        for (long k = 0; k < length; ++k) sum += taps_[static_cast<std::size_t>(k)] * x[k];
        output_.push_back(sum);
    }
    // Drop the inputs that no later output reads.
    const long needed = static_cast<long>(output_.size()) * decimation_;
    if (needed - mixedStart_ > 65536) {
        mixed_.erase(mixed_.begin(), mixed_.begin() + (needed - mixedStart_));
        mixedStart_ = needed;
    }
}

}  // namespace wowfix::meter
