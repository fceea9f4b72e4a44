#pragma once
// The audio of an input file as a programme. The file's channels are mapped
// to the output's: a mono file feeds every output channel; a mono output
// takes the mean of all the file's channels; otherwise output channel c takes
// file channel c.

#include <memory>
#include <vector>

#include "tools/gen/NominalSource.h"
#include "tools/soundio/SoundFileReader.h"

namespace wowfix::gen {

class FileSource : public NominalSource {
public:
    // `channels` 1 or 2, or 0 for the file's own layout (mono stays mono,
    // anything else gives stereo). Null with `error` set when the file cannot
    // be read or holds fewer than two frames.
    static std::unique_ptr<FileSource> open(const std::string& path, int channels, std::string& error);
    int channels() const override { return channels_; }
    double sampleRate() const override { return reader_->sampleRate(); }
    std::int64_t frames() const { return reader_->frames(); }
    long read(float* interleaved, long frames, std::string& error) override;

private:
    FileSource(std::unique_ptr<soundio::SoundFileReader> reader, int channels);

    std::unique_ptr<soundio::SoundFileReader> reader_;
    int channels_;
    std::vector<float> buffer_;
};

}  // namespace wowfix::gen
