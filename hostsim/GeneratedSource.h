#pragma once
// A synthetic source: one steady sine tone per channel, computed on demand,
// so that arbitrarily long audio costs no memory and no disk.

#include "hostsim/AudioSource.h"

#include <vector>

namespace wowfix::hostsim {

class GeneratedSource : public AudioSource {
public:
    // frequencies: one tone per channel (Hz); amplitude applies to all.
    GeneratedSource(std::int64_t frames, double sampleRate, std::vector<double> frequencies, double amplitude);

    std::int64_t frames() const override { return frames_; }
    int channels() const override { return static_cast<int>(frequencies_.size()); }
    double sampleRate() const override { return sampleRate_; }
    // A frame's value does not depend on how the reads are cut.
    bool read(std::int64_t position, int count, float* const* channel) override;
    const std::string& error() const override { return error_; }

    // The exact sample of channel c at frame n.
    double sampleAt(int c, std::int64_t n) const;

private:
    static constexpr std::int64_t kSegment = 1024;

    std::int64_t frames_;
    double sampleRate_;
    std::vector<double> frequencies_;
    double amplitude_;
    std::string error_;
};

}  // namespace wowfix::hostsim
