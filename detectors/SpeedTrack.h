#pragma once
// A measured quantity (a frequency, a speed ratio) on a uniform grid of
// sample positions, with a weight per value (a level, a confidence), and the
// clean-up that turns raw measurements into a curve: weak values become gaps,
// outliers are replaced, gaps are bridged (and flagged), the rest is
// low-passed without delay.
//
// Values are stored as single-precision offsets from a double `base`, so a
// track of 19 kHz keeps micro-hertz resolution at 8 bytes per value plus one
// flag byte.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wowfix {

class SpeedTrack {
public:
    // Value i lies at sample position first + i * step.
    void reset(double first, double step, double base);
    void reserve(std::size_t count);
    // A value that is not finite is a gap.
    void push(double value, float weight);

    std::size_t size() const { return offset_.size(); }
    double first() const { return first_; }
    double step() const { return step_; }
    double value(std::size_t i) const { return base_ + offset_[i]; }
    float weight(std::size_t i) const { return weight_[i]; }
    bool isGap(std::size_t i) const { return (flag_[i] & kGap) != 0; }
    bool isBridged(std::size_t i) const { return (flag_[i] & kBridged) != 0; }

    // The median weight over every `stride`-th value that is not a gap.
    double medianWeight(std::size_t stride) const;
    // The median value over every `stride`-th value that was not bridged.
    double medianValue(std::size_t stride) const;

    // Values whose weight is below `threshold` become gaps, and so do
    // `margin` values on either side of each.
    void markWeak(double threshold, int margin);
    // A value further than `limit` from the median of its neighbours within
    // `radius` is replaced by that median.
    void replaceOutliers(int radius, double limit);
    // Every gap is filled by the straight line between the values around it
    // (the nearest value at either end) and flagged as bridged. Answers the
    // number of bridged stretches; a track without any value stays as it is
    // and answers -1.
    int bridgeGaps();
    // Zero-phase low-pass, cut-off `cutoff` Hz at sample rate `sampleRate`.
    void smooth(double cutoff, double sampleRate);

    // Linear interpolation at a sample position; the end values beyond the
    // ends. `fallback` for an empty track.
    double valueAt(double position, double fallback) const;
    bool bridgedAt(double position) const;

private:
    static constexpr std::uint8_t kGap = 1;
    static constexpr std::uint8_t kBridged = 2;

    double first_ = 0.0;
    double step_ = 1.0;
    double base_ = 0.0;
    std::vector<float> offset_;
    std::vector<float> weight_;
    std::vector<std::uint8_t> flag_;
};

}  // namespace wowfix
