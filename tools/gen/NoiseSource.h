#pragma once
// White or pink Gaussian noise at a given RMS level, independent in every
// channel, endless.

#include <memory>
#include <vector>

#include "tools/gen/NominalSource.h"
#include "tools/gen/PinkingFilter.h"
#include "tools/gen/Random.h"

namespace wowfix::gen {

class NoiseSource : public NominalSource {
public:
    NoiseSource(bool pink, double rms, int channels, double sampleRate, std::uint64_t seed);
    int channels() const override { return static_cast<int>(random_.size()); }
    double sampleRate() const override { return sampleRate_; }
    long read(float* interleaved, long frames, std::string& error) override;

private:
    double sampleRate_;
    double scale_;
    std::vector<Random> random_;
    std::vector<PinkingFilter> pinking_;
};

}  // namespace wowfix::gen
