#pragma once
// Audio that the host offers to a plug-in as its open file. The host reads it
// block by block at the positions the plug-in asks for, so a source never has
// to hold more than one block.

#include <cstdint>
#include <string>

namespace wowfix::hostsim {

class AudioSource {
public:
    virtual ~AudioSource() = default;

    virtual std::int64_t frames() const = 0;
    virtual int channels() const = 0;
    virtual double sampleRate() const = 0;

    // Fills channel[c][0 ... count - 1] for every channel with the frames that
    // start at `position`. The range must lie inside the source. Answers
    // false (error() tells why) when it does not or the read fails.
    virtual bool read(std::int64_t position, int count, float* const* channel) = 0;

    virtual const std::string& error() const = 0;
};

}  // namespace wowfix::hostsim
