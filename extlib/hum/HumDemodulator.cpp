#include "extlib/hum/HumDemodulator.h"

#include <algorithm>
#include <cmath>

namespace wowfix::hum {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

HumDemodulator::HumDemodulator(const HumParameters& p, double rate)
    : rate_(rate), nominal_(p.display(kNominalFrequency)) {
    phaseStep_ = 2.0 * kPi * nominal_ / rate_;
    const int order = static_cast<int>(p.display(kDemodulatorOrder));
    const double cutoff = std::min<double>(p.display(kDemodulatorCutoff), 0.4 * rate_);
    lowI_ = FilterCascade(FilterCascade::Kind::lowPass, order, cutoff, rate_);
    lowQ_ = lowI_;
    const int smoothing = static_cast<int>(p.display(kSmoothingLength));
    const int medianLength = std::min(static_cast<int>(p.display(kMedianLength)), smoothing);
    // The phase may advance by less than half a turn over the lag at the
    // largest deviation the demodulator passes.
    const int lagLimit = std::max(1, static_cast<int>(rate_ / (4.0 * std::max(cutoff, 0.5))));
    lag_ = std::clamp(static_cast<int>(p.display(kDifferenceLag)), 1, lagLimit);
    history_.assign(static_cast<size_t>(lag_), {0.0, 0.0});
    medianWindow_.assign(static_cast<size_t>(medianLength), 0.0);
    smoothing_.assign(static_cast<size_t>(smoothing), 0.0);
    // The real signal A cos φ leaves A/2 after the shift.
    floorAmplitude_ = 0.5 * std::pow(10.0, p.display(kLevelFloor) / 20.0);
    limit_ = p.display(kRatioLimit) / 100.0;
    const double filterDelay = lowI_.groupDelay(0.0);
    delay_ = filterDelay + 0.5 * lag_ + 0.5 * (medianLength - 1) + 0.5 * (smoothing - 1);
    settle_ = static_cast<long long>(std::ceil(2.0 * filterDelay)) + lag_ + medianLength + smoothing;
}

double HumDemodulator::median(double latest) {
    medianWindow_[medianAt_] = latest;
    medianAt_ = (medianAt_ + 1) % medianWindow_.size();
    if (medianWindow_.size() == 1) return latest;
    medianScratch_ = medianWindow_;
    auto middle = medianScratch_.begin() + static_cast<long>(medianScratch_.size() / 2);
    std::nth_element(medianScratch_.begin(), middle, medianScratch_.end());
    return *middle;
}

double HumDemodulator::push(double y) {
    const std::complex<double> z(lowI_.process(y * std::cos(phase_)), lowQ_.process(-y * std::sin(phase_)));
    phase_ += phaseStep_;
    if (phase_ > 2.0 * kPi) phase_ -= 2.0 * kPi;

    const std::complex<double> before = history_[historyAt_];  // z[n - lag]
    history_[historyAt_] = z;
    historyAt_ = (historyAt_ + 1) % history_.size();
    const double deviation = rate_ / (2.0 * kPi * lag_) * std::arg(z * std::conj(before));

    const double filtered = median(deviation);
    smoothingSum_ += filtered - smoothing_[smoothingAt_];
    smoothing_[smoothingAt_] = filtered;
    smoothingAt_ = (smoothingAt_ + 1) % smoothing_.size();
    ++seen_;
    // Refresh the running sum now and then so rounding cannot pile up.
    if (smoothingAt_ == 0) {
        smoothingSum_ = 0.0;
        for (double v : smoothing_) smoothingSum_ += v;
    }

    if (seen_ < settle_ || std::abs(z) < floorAmplitude_ || !(nominal_ > 0.0)) return 0.0;
    const double ratio = (nominal_ + smoothingSum_ / static_cast<double>(smoothing_.size())) / nominal_;
    if (!std::isfinite(ratio) || std::fabs(ratio - 1.0) > limit_) return 0.0;
    return ratio;
}

}  // namespace wowfix::hum
