#pragma once
// Reads a sound file that libsndfile knows, frame by frame, as interleaved
// 32-bit floats.

#include <cstdint>
#include <memory>
#include <string>

struct sf_private_tag;

namespace wowfix::soundio {

class SoundFileReader {
public:
    // Null with `error` set when the file cannot be opened as sound.
    static std::unique_ptr<SoundFileReader> open(const std::string& path, std::string& error);
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    std::int64_t frames() const { return frames_; }
    const std::string& path() const { return path_; }

    // Reads up to `count` frames into `interleaved` (count × channels
    // floats); answers the number read, 0 at the end, −1 on a read error.
    long read(float* interleaved, long count);
    // Moves to frame `position`; false when the file cannot seek there.
    bool seek(std::int64_t position);

private:
    SoundFileReader(sf_private_tag* file, std::string path, int sampleRate, int channels, std::int64_t frames);

    sf_private_tag* file_;
    std::string path_;
    int sampleRate_;
    int channels_;
    std::int64_t frames_;
};

}  // namespace wowfix::soundio
