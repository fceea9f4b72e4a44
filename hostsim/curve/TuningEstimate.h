#pragma once
// How far a programme's tuning lies from a concert pitch, read from its
// long-term spectrum.
//
// Frames of 16384 mono samples (Hann window, no overlap) are transformed and
// their magnitudes summed. Every local maximum between 100 and 5000 Hz that
// stands 20 dB above the median level is a partial; its frequency comes from
// a parabola through the log magnitudes of the three bins at the peak. Each
// partial's distance from the nearest equal-tempered note of the reference
// (A4 = `a4` Hz), in cents, is taken as an angle on the circle of 100 cents,
// and the magnitude-weighted circular mean of those angles is the offset:
// −50 ... +50 cents, positive when the programme is sharp.

#include <string>
#include <vector>

namespace wowfix::curve {

constexpr std::size_t kTuningFrame = 16384;

class TuningEstimate {
public:
    explicit TuningEstimate(double sampleRate);
    // Feeds mono samples in any number of calls.
    void add(const float* samples, std::size_t count);
    // False with `error` when no partial was found.
    bool offsetCents(double a4, double& cents, std::string& error) const;

private:
    void analyseFrame();

    double sampleRate_;
    std::vector<double> frame_;
    std::vector<double> magnitude_;
};

}  // namespace wowfix::curve
