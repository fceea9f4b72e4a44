#pragma once
// Where the host puts the frames a plug-in writes into a new file. Frames
// arrive in order; the sink is a stream, not a random-access file.

#include <cstdint>
#include <string>

namespace wowfix::hostsim {

class AudioSink {
public:
    virtual ~AudioSink() = default;

    virtual int channels() const = 0;
    // Appends channel[c][0 ... count - 1] of every channel.
    virtual bool write(const float* const* channel, int count) = 0;
    // Completes the file (headers, flush, close). Nothing may be written after.
    virtual bool finish() = 0;
    virtual std::int64_t framesWritten() const = 0;
    virtual const std::string& error() const = 0;
};

}  // namespace wowfix::hostsim
