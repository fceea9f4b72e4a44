#include "tools/gen/SteppedTones.h"

#include <algorithm>
#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

SteppedTones::SteppedTones(std::vector<double> frequencies, double hold, double amplitude, int channels)
    : frequencies_(std::move(frequencies)), hold_(hold), amplitude_(amplitude), channels_(channels) {
    cycleCycles_ = 0.0;
    for (double f : frequencies_) cycleCycles_ += f * hold_;
}

std::vector<double> SteppedTones::standardSteps(double highest) {
    std::vector<double> steps;
    for (double f : {125.0, 250.0, 500.0, 1000.0, 2000.0, 3150.0, 4000.0, 8000.0, 16000.0})
        if (f < highest) steps.push_back(f);
    return steps;
}

double SteppedTones::frequencyAt(double tau) const {
    if (frequencies_.empty() || tau < 0.0) return 0.0;
    const double passes = std::floor(tau / (hold_ * frequencies_.size()));
    const double within = tau - passes * hold_ * frequencies_.size();
    const std::size_t step = std::min(frequencies_.size() - 1, static_cast<std::size_t>(within / hold_));
    return frequencies_[step];
}

// The phase in cycles is the integral of the frequency: whole passes through
// the list, the whole steps before the current one, and the part of the
// current step.
void SteppedTones::addFrame(double tau, double* frame) const {
    if (frequencies_.empty() || tau < 0.0) return;
    const double passLength = hold_ * frequencies_.size();
    const double passes = std::floor(tau / passLength);
    double within = tau - passes * passLength;
    double cycles = 0.0;
    std::size_t step = 0;
    while (step + 1 < frequencies_.size() && within >= hold_) {
        cycles += frequencies_[step] * hold_;
        within -= hold_;
        ++step;
    }
    cycles += frequencies_[step] * within;
    // Whole passes add whole cycles only when a pass holds a whole number of
    // cycles; its fractional part is carried exactly.
    const double passCycles = cycleCycles_ - std::floor(cycleCycles_);
    const double passPart = passes * passCycles;
    cycles += passPart - std::floor(passPart);
    const double v = amplitude_ * std::sin(kTwoPi * (cycles - std::floor(cycles)));
    for (int c = 0; c < channels_; ++c) frame[c] += v;
}

}  // namespace wowfix::gen
