#pragma once
// An audio file read through libsndfile, streamed: a read seeks only when the
// position is not the one the previous read ended at, and the only buffer is
// one interleaved block.

#include "hostsim/AudioSource.h"

#include <memory>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace wowfix::hostsim {

class SndfileSource : public AudioSource {
public:
    // Answers null with `error` set when the file cannot be opened as audio.
    static std::unique_ptr<SndfileSource> open(const std::string& path, std::string& error);
    ~SndfileSource() override;
    SndfileSource(const SndfileSource&) = delete;
    SndfileSource& operator=(const SndfileSource&) = delete;

    std::int64_t frames() const override { return frames_; }
    int channels() const override { return channels_; }
    double sampleRate() const override { return sampleRate_; }
    bool read(std::int64_t position, int count, float* const* channel) override;
    const std::string& error() const override { return error_; }

    // libsndfile's format code of the file (container | encoding).
    int format() const { return format_; }
    const std::string& path() const { return path_; }

private:
    SndfileSource(SNDFILE* file, std::string path, std::int64_t frames, int channels, double sampleRate, int format);

    SNDFILE* file_;
    std::string path_;
    std::int64_t frames_;
    int channels_;
    double sampleRate_;
    int format_;
    std::int64_t position_ = 0;
    std::vector<float> interleaved_;
    std::string error_;
};

}  // namespace wowfix::hostsim
