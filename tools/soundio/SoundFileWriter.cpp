#include "tools/soundio/SoundFileWriter.h"

#include <sndfile.h>

#include <cstring>

namespace wowfix::soundio {

std::unique_ptr<SoundFileWriter> SoundFileWriter::create(const std::string& target, int format, int channels,
                                                         int sampleRate, std::string& error) {
    std::unique_ptr<ReplacingFile> file = ReplacingFile::create(target, error);
    if (file == nullptr) return nullptr;
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* sound = sf_open(file->tempPath().c_str(), SFM_WRITE, &info);
    if (sound == nullptr) {
        error = "cannot write '" + target + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    return std::unique_ptr<SoundFileWriter>(new SoundFileWriter(std::move(file), sound));
}

SoundFileWriter::SoundFileWriter(std::unique_ptr<ReplacingFile> file, sf_private_tag* sound)
    : file_(std::move(file)), sound_(sound) {}

SoundFileWriter::~SoundFileWriter() {
    if (sound_ != nullptr) sf_close(sound_);
}

bool SoundFileWriter::write(const float* interleaved, long frames, std::string& error) {
    if (sound_ == nullptr) {
        error = "cannot write '" + file_->target() + "': already closed";
        return false;
    }
    if (sf_writef_float(sound_, interleaved, frames) != frames) {
        error = "cannot write '" + file_->target() + "': " + sf_strerror(sound_);
        return false;
    }
    return true;
}

bool SoundFileWriter::close(std::string& error) {
    if (sound_ == nullptr) return true;
    const int status = sf_close(sound_);
    sound_ = nullptr;
    if (status != 0) {
        error = "cannot complete '" + file_->target() + "': " + sf_error_number(status);
        return false;
    }
    return true;
}

bool SoundFileWriter::commit(std::string& error) {
    if (!close(error)) return false;
    return file_->commit(error);
}

}  // namespace wowfix::soundio
