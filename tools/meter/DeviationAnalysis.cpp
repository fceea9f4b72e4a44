#include "tools/meter/DeviationAnalysis.h"

#include <algorithm>
#include <cmath>

#include "tools/meter/ButterworthLowPass.h"
#include "tools/meter/WeightingFilter.h"
#include "tools/meter/ZeroPhase.h"

namespace wowfix::meter {

namespace {

constexpr double kSlowPadSeconds = 20.0;
constexpr double kWeightingPadSeconds = 5.0;
constexpr double kUpperPadSeconds = 0.1;

std::size_t padOf(double seconds, double rate) { return static_cast<std::size_t>(seconds * rate); }

double mean(const std::vector<double>& x) {
    double sum = 0.0;
    for (double v : x) sum += v;
    return x.empty() ? 0.0 : sum / static_cast<double>(x.size());
}

// The points of `x` in the settled span.
std::vector<double> settled(const std::vector<double>& x, const DeviationBands& bands) {
    return std::vector<double>(x.begin() + static_cast<long>(bands.settledBegin),
                               x.begin() + static_cast<long>(bands.settledEnd));
}

double rms(const std::vector<double>& x) {
    double sum = 0.0;
    for (double v : x) sum += v * v;
    return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size()));
}

double largestMagnitude(const std::vector<double>& x) {
    double largest = 0.0;
    for (double v : x) largest = std::fmax(largest, std::fabs(v));
    return largest;
}

}  // namespace

void settledSpan(std::size_t n, double rate, std::size_t& begin, std::size_t& end) {
    const std::size_t margin = std::min(padOf(kSettleSeconds, rate), n / 4);
    begin = margin;
    end = n - margin;
}

double exceededMagnitude(const std::vector<double>& x, double fraction) {
    if (x.empty()) return 0.0;
    std::vector<double> magnitude(x.size());
    std::transform(x.begin(), x.end(), magnitude.begin(), [](double v) { return std::fabs(v); });
    const double position = (1.0 - fraction) * static_cast<double>(magnitude.size() - 1);
    const std::size_t index = static_cast<std::size_t>(std::floor(position));
    std::nth_element(magnitude.begin(), magnitude.begin() + static_cast<long>(index), magnitude.end());
    const double below = magnitude[index];
    if (index + 1 >= magnitude.size()) return below;
    const double above = *std::min_element(magnitude.begin() + static_cast<long>(index) + 1, magnitude.end());
    return below + (position - static_cast<double>(index)) * (above - below);
}

DeviationBands splitDeviation(std::vector<double> deviation, double rate, double startTime) {
    DeviationBands bands;
    bands.rate = rate;
    bands.startTime = startTime;
    bands.total = std::move(deviation);
    if (bands.total.empty()) return bands;
    settledSpan(bands.total.size(), rate, bands.settledBegin, bands.settledEnd);

    bands.slow = zeroPhase(butterworthLowPass(4, kDriftHz, rate), bands.total, padOf(kSlowPadSeconds, rate));
    std::vector<double> fast(bands.total.size());
    for (std::size_t i = 0; i < fast.size(); ++i) fast[i] = bands.total[i] - bands.slow[i];
    bands.unweighted = zeroPhase(butterworthLowPass(2, kUpperHz, rate), fast, padOf(kUpperPadSeconds, rate));

    const double average = mean(bands.total);
    std::vector<double> centred(bands.total.size());
    for (std::size_t i = 0; i < centred.size(); ++i) centred[i] = bands.total[i] - average;
    bands.weighted = settledRun(WeightingFilter::create(rate), centred, padOf(kWeightingPadSeconds, rate));
    return bands;
}

WowFlutterFigures figuresOf(const DeviationBands& bands) {
    WowFlutterFigures f;
    const std::vector<double> unweighted = settled(bands.unweighted, bands);
    const std::vector<double> weighted = settled(bands.weighted, bands);
    f.offset = mean(settled(bands.total, bands));
    f.drift = largestMagnitude(settled(bands.slow, bands));
    f.unweightedPeak = largestMagnitude(unweighted);
    f.unweightedRms = rms(unweighted);
    f.weightedPeak2Sigma = exceededMagnitude(weighted, 0.05);
    f.weightedRms = rms(weighted);
    return f;
}

}  // namespace wowfix::meter
