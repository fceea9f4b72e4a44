#include "hostsim/curve/TuningEstimate.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "hostsim/curve/Fft.h"

namespace wowfix::curve {

namespace {
constexpr double kLowestHz = 100.0;
constexpr double kHighestHz = 5000.0;
constexpr double kAboveMedian = 10.0;  // 20 dB in magnitude
}  // namespace

TuningEstimate::TuningEstimate(double sampleRate) : sampleRate_(sampleRate), magnitude_(kTuningFrame / 2 + 1, 0.0) {
    frame_.reserve(kTuningFrame);
}

void TuningEstimate::add(const float* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        frame_.push_back(samples[i]);
        if (frame_.size() == kTuningFrame) analyseFrame();
    }
}

void TuningEstimate::analyseFrame() {
    std::vector<std::complex<double>> x(kTuningFrame);
    for (std::size_t i = 0; i < kTuningFrame; ++i)
        x[i] = frame_[i] * (0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / kTuningFrame));
    transform(x, false);
    for (std::size_t k = 0; k < magnitude_.size(); ++k) magnitude_[k] += std::abs(x[k]);
    frame_.clear();
}

bool TuningEstimate::offsetCents(double a4, double& cents, std::string& error) const {
    const double binHz = sampleRate_ / static_cast<double>(kTuningFrame);
    const std::size_t low = std::max<std::size_t>(2, static_cast<std::size_t>(kLowestHz / binHz));
    const std::size_t high = std::min(magnitude_.size() - 2, static_cast<std::size_t>(kHighestHz / binHz));
    if (low >= high) {
        error = "the audio is too short or its rate too low to estimate the tuning";
        return false;
    }
    std::vector<double> band(magnitude_.begin() + static_cast<long>(low), magnitude_.begin() + static_cast<long>(high));
    std::nth_element(band.begin(), band.begin() + static_cast<long>(band.size() / 2), band.end());
    const double floor = band[band.size() / 2];
    double sumCos = 0.0, sumSin = 0.0;
    for (std::size_t k = low; k < high; ++k) {
        const double m = magnitude_[k];
        if (!(m > kAboveMedian * floor) || m <= magnitude_[k - 1] || m < magnitude_[k + 1]) continue;
        const double a = std::log(magnitude_[k - 1]), b = std::log(m), c = std::log(magnitude_[k + 1]);
        const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
        const double hz = (static_cast<double>(k) + shift) * binHz;
        const double fromA4 = 1200.0 * std::log2(hz / a4);
        const double angle = 2.0 * M_PI * fromA4 / 100.0;
        sumCos += m * std::cos(angle);
        sumSin += m * std::sin(angle);
    }
    if (sumCos == 0.0 && sumSin == 0.0) {
        error = "no steady partials found to estimate the tuning from";
        return false;
    }
    cents = 100.0 * std::atan2(sumSin, sumCos) / (2.0 * M_PI);
    return true;
}

}  // namespace wowfix::curve
