#include "tools/gen/SpeedModel.h"

#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

namespace {

double sineTerm(const Modulation& m, double t) {
    if (m.depth == 0.0) return 0.0;
    return m.depth * std::sin(kTwoPi * m.rate * t);
}

// ∫_0^t W·sin(ωτ) dτ = W·(1 − cos ωt)/ω
double sineIntegral(const Modulation& m, double t) {
    if (m.depth == 0.0) return 0.0;
    const double omega = kTwoPi * m.rate;
    return m.depth * (1.0 - std::cos(omega * t)) / omega;
}

}  // namespace

SpeedModel::SpeedModel(Modulation wow, Modulation flutter, DriftCurve drift)
    : wow_(wow), flutter_(flutter), drift_(std::move(drift)) {}

double SpeedModel::speed(double t) const {
    return 1.0 + sineTerm(wow_, t) + sineTerm(flutter_, t) + drift_.value(t);
}

double SpeedModel::deviationIntegral(double t) const {
    return sineIntegral(wow_, t) + sineIntegral(flutter_, t) + drift_.integral(t);
}

double SpeedModel::frameRatio(std::int64_t n, double fs) const {
    const double t0 = static_cast<double>(n) / fs;
    const double t1 = static_cast<double>(n + 1) / fs;
    return 1.0 + fs * (deviationIntegral(t1) - deviationIntegral(t0));
}

double SpeedModel::largestDeviation() const {
    return std::fabs(wow_.depth) + std::fabs(flutter_.depth) + drift_.depth();
}

}  // namespace wowfix::gen
