#include "extlib/hum/HumFrontEnd.h"

#include <algorithm>
#include <cmath>

namespace wowfix::hum {

namespace {
constexpr int kAntiAliasOrder = 8;
constexpr int kBandOrder = 4;
}  // namespace

HumFrontEnd::HumFrontEnd(const HumParameters& p, double inputRate) {
    const double wanted = p.display(kDecimatedRate);
    factor_ = static_cast<int>(std::clamp(std::round(inputRate / wanted), 1.0, 1.0e6));
    rate_ = inputRate / factor_;
    // The anti-alias filter is kept below the new Nyquist frequency whatever
    // its setting says.
    const double cutoff = std::min<double>(p.display(kAntiAliasCutoff), 0.45 * rate_);
    antiAlias_ = FilterCascade(FilterCascade::Kind::lowPass, kAntiAliasOrder, cutoff, inputRate);
    const double lower = std::clamp<double>(p.display(kBandLower), 0.1, 0.45 * rate_);
    const double upper = std::clamp<double>(p.display(kBandUpper), lower + 0.1, 0.48 * rate_);
    bandLow_ = FilterCascade(FilterCascade::Kind::lowPass, kBandOrder, upper, rate_);
    bandHigh_ = FilterCascade(FilterCascade::Kind::highPass, kBandOrder, lower, rate_);
}

double HumFrontEnd::delayFrames(double f) const {
    return antiAlias_.groupDelay(f) + factor_ * (bandLow_.groupDelay(f) + bandHigh_.groupDelay(f)) +
           0.5 * (factor_ - 1);
}

}  // namespace wowfix::hum
