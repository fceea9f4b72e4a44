#pragma once
// A new audio file written through libsndfile into an open descriptor (the
// temporary file beside the final name).

#include "hostsim/AudioSink.h"

#include <memory>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace wowfix::hostsim {

class SndfileSink : public AudioSink {
public:
    // Takes ownership of `fd` (closed by the sink, also on failure). `name`
    // appears in messages. `format` is libsndfile's container | encoding.
    static std::unique_ptr<SndfileSink> open(int fd, const std::string& name, int format, int channels,
                                             int sampleRate, std::string& error);
    ~SndfileSink() override;
    SndfileSink(const SndfileSink&) = delete;
    SndfileSink& operator=(const SndfileSink&) = delete;

    int channels() const override { return channels_; }
    bool write(const float* const* channel, int count) override;
    bool finish() override;
    std::int64_t framesWritten() const override { return frames_; }
    const std::string& error() const override { return error_; }

private:
    SndfileSink(SNDFILE* file, std::string name, int channels);

    SNDFILE* file_;
    std::string name_;
    int channels_;
    std::int64_t frames_ = 0;
    std::vector<float> interleaved_;
    std::string error_;
};

}  // namespace wowfix::hostsim
