#pragma once
// Writes a new sound file through libsndfile beside its final name and
// renames it into place on `finish`; an unfinished writer leaves nothing.

#include <cstdint>
#include <memory>
#include <string>

#include "tools/soundio/ReplacingFile.h"

struct sf_private_tag;

namespace wowfix::soundio {

class SoundFileWriter {
public:
    // `format` is libsndfile's container | encoding. Null with `error` set
    // when the file cannot be created.
    static std::unique_ptr<SoundFileWriter> create(const std::string& target, int format, int channels,
                                                   int sampleRate, std::string& error);
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    bool write(const float* interleaved, long frames, std::string& error);
    // Closes the file and leaves it at its temporary name.
    bool close(std::string& error);
    // Closes the file if still open and renames it onto the target.
    bool commit(std::string& error);

private:
    SoundFileWriter(std::unique_ptr<ReplacingFile> file, sf_private_tag* sound);

    std::unique_ptr<ReplacingFile> file_;
    sf_private_tag* sound_;
};

}  // namespace wowfix::soundio
