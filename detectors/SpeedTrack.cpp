#include "detectors/SpeedTrack.h"

#include "detectors/RobustStatistics.h"
#include "detectors/ZeroPhaseLowPass.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

void SpeedTrack::reset(double first, double step, double base)
{
    first_ = first;
    step_ = step > 0.0 ? step : 1.0;
    base_ = base;
    offset_.clear();
    weight_.clear();
    flag_.clear();
}

void SpeedTrack::reserve(std::size_t count)
{
    offset_.reserve(count);
    weight_.reserve(count);
    flag_.reserve(count);
}

void SpeedTrack::push(double value, float weight)
{
    const bool usable = std::isfinite(value) && std::isfinite(weight);
    offset_.push_back(usable ? static_cast<float>(value - base_) : 0.0f);
    weight_.push_back(usable ? weight : 0.0f);
    flag_.push_back(usable ? 0 : kGap);
}

double SpeedTrack::medianWeight(std::size_t stride) const
{
    return sampledMedian(weight_, stride, [this](std::size_t i) { return !isGap(i); }, 0.0);
}

double SpeedTrack::medianValue(std::size_t stride) const
{
    return base_ + sampledMedian(offset_, stride, [this](std::size_t i) { return !isGap(i) && !isBridged(i); }, 0.0);
}

void SpeedTrack::markWeak(double threshold, int margin)
{
    const long n = static_cast<long>(size());
    std::vector<std::uint8_t> weak(flag_.size(), 0);
    for (long i = 0; i < n; ++i)
        weak[static_cast<std::size_t>(i)] = isGap(static_cast<std::size_t>(i)) || weight_[static_cast<std::size_t>(i)] < threshold;
    long lastWeak = -1 - margin;
    for (long i = 0; i < n; ++i) {
        if (weak[static_cast<std::size_t>(i)])
            lastWeak = i;
        if (i - lastWeak <= margin)
            flag_[static_cast<std::size_t>(i)] |= kGap;
    }
    long nextWeak = n + margin + 1;
    for (long i = n - 1; i >= 0; --i) {
        if (weak[static_cast<std::size_t>(i)])
            nextWeak = i;
        if (nextWeak - i <= margin)
            flag_[static_cast<std::size_t>(i)] |= kGap;
    }
}

void SpeedTrack::replaceOutliers(int radius, double limit)
{
    const long n = static_cast<long>(size());
    if (radius < 1 || n < 3)
        return;
    std::vector<float> cleaned(offset_);
    std::vector<double> window;
    for (long i = 0; i < n; ++i) {
        if (isGap(static_cast<std::size_t>(i)))
            continue;
        window.clear();
        for (long j = std::max(0L, i - radius); j <= std::min(n - 1, i + radius); ++j)
            if (!isGap(static_cast<std::size_t>(j)))
                window.push_back(offset_[static_cast<std::size_t>(j)]);
        const double median = medianInPlace(window);
        if (std::fabs(offset_[static_cast<std::size_t>(i)] - median) > limit)
            cleaned[static_cast<std::size_t>(i)] = static_cast<float>(median);
    }
    offset_.swap(cleaned);
}

int SpeedTrack::bridgeGaps()
{
    const long n = static_cast<long>(size());
    int stretches = 0;
    long before = -1;  // last value that is not a gap
    long i = 0;
    while (i < n) {
        if (!isGap(static_cast<std::size_t>(i))) {
            before = i++;
            continue;
        }
        long after = i;
        while (after < n && isGap(static_cast<std::size_t>(after)))
            ++after;
        if (before < 0 && after >= n)
            return -1;
        const double from = before >= 0 ? offset_[static_cast<std::size_t>(before)] : offset_[static_cast<std::size_t>(after)];
        const double to = after < n ? offset_[static_cast<std::size_t>(after)] : from;
        const double span = static_cast<double>(after - before);
        for (long k = i; k < after; ++k) {
            const double t = before >= 0 && after < n ? (k - before) / span : 0.0;
            offset_[static_cast<std::size_t>(k)] = static_cast<float>(from + t * (to - from));
            flag_[static_cast<std::size_t>(k)] = kBridged;
        }
        ++stretches;
        i = after;
    }
    return stretches;
}

void SpeedTrack::smooth(double cutoff, double sampleRate)
{
    const double rate = sampleRate / step_;
    ZeroPhaseLowPass(cutoff, 0.5 * cutoff, rate).apply(offset_);
}

double SpeedTrack::valueAt(double position, double fallback) const
{
    if (offset_.empty())
        return fallback;
    const double u = (position - first_) / step_;
    if (!(u > 0.0))
        return value(0);
    const std::size_t i = static_cast<std::size_t>(u);
    if (i + 1 >= size())
        return value(size() - 1);
    const double t = u - static_cast<double>(i);
    return base_ + offset_[i] + t * (static_cast<double>(offset_[i + 1]) - offset_[i]);
}

bool SpeedTrack::bridgedAt(double position) const
{
    if (offset_.empty())
        return false;
    const double u = std::round((position - first_) / step_);
    const std::size_t i = u <= 0.0 ? 0 : std::min(size() - 1, static_cast<std::size_t>(u));
    return isBridged(i);
}

}  // namespace wowfix
