#include "detectors/PilotFinder.h"

#include "detectors/RobustStatistics.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kNeighbourhood = 64;
constexpr double kToneRatio = 100.0;  // 20 dB in power
constexpr double kAudible = 1e-8;     // of the whole spectrum's power: -80 dB
}

PilotFinder::PilotFinder(double sampleRate, double searchFloor)
    : sampleRate_(sampleRate), searchFloor_(searchFloor), frame_(kLength), work_(kLength),
      power_(kLength / 2 + 1), window_(kLength)
{
    for (int i = 0; i < kLength; ++i)
        window_[static_cast<std::size_t>(i)] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * kPi * (i + 0.5) / kLength));
    reset();
}

void PilotFinder::reset()
{
    std::fill(power_.begin(), power_.end(), 0.0);
    fill_ = 0;
    frames_ = 0;
}

void PilotFinder::offer(const float* samples, int count)
{
    for (int i = 0; i < count && !full(); ++i) {
        const float x = samples[i];
        frame_[static_cast<std::size_t>(fill_++)] = std::isfinite(x) ? x : 0.0f;
        if (fill_ == kLength) {
            addFrame();
            fill_ = 0;
        }
    }
}

void PilotFinder::addFrame()
{
    for (int i = 0; i < kLength; ++i)
        work_[static_cast<std::size_t>(i)] = frame_[static_cast<std::size_t>(i)] * window_[static_cast<std::size_t>(i)];
    fft_.realFft(kLength, work_.data());
    for (int k = 1; k < kLength / 2; ++k) {
        const double re = work_[static_cast<std::size_t>(k)];
        const double im = work_[static_cast<std::size_t>(kLength - k)];
        power_[static_cast<std::size_t>(k)] += re * re + im * im;
    }
    ++frames_;
}

bool PilotFinder::find(double& frequency) const
{
    if (frames_ == 0)
        return false;
    const int top = kLength / 2 - 2;
    const int floorBin = std::max(2, static_cast<int>(std::ceil(searchFloor_ * kLength / sampleRate_)));
    if (floorBin >= top)
        return false;
    int peak = floorBin;
    for (int k = floorBin + 1; k <= top; ++k)
        if (power_[static_cast<std::size_t>(k)] > power_[static_cast<std::size_t>(peak)])
            peak = k;
    const double p = power_[static_cast<std::size_t>(peak)];
    if (!(p > 0.0))
        return false;
    std::vector<double> around;
    for (int k = std::max(1, peak - kNeighbourhood); k <= std::min(top + 1, peak + kNeighbourhood); ++k)
        around.push_back(power_[static_cast<std::size_t>(k)]);
    if (p < kToneRatio * medianInPlace(around))
        return false;
    // The lines of a periodic rounding error are not a pilot.
    double total = 0.0;
    for (double bin : power_)
        total += bin;
    if (p < kAudible * total)
        return false;
    const double ym = std::log(std::max(power_[static_cast<std::size_t>(peak - 1)], 1e-300));
    const double y0 = std::log(p);
    const double yp = std::log(std::max(power_[static_cast<std::size_t>(peak + 1)], 1e-300));
    const double curvature = ym - 2.0 * y0 + yp;
    const double offset = curvature < 0.0 ? std::clamp(0.5 * (ym - yp) / curvature, -0.5, 0.5) : 0.0;
    frequency = (peak + offset) * sampleRate_ / kLength;
    return true;
}

}  // namespace wowfix
