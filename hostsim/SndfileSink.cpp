#include "hostsim/SndfileSink.h"

#include <sndfile.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace wowfix::hostsim {

std::unique_ptr<SndfileSink> SndfileSink::open(int fd, const std::string& name, int format, int channels,
                                               int sampleRate, std::string& error) {
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (!sf_format_check(&info)) {
        if (fd >= 0) ::close(fd);
        error = "cannot write '" + name + "': the format cannot hold " + std::to_string(channels) +
                " channel(s) at " + std::to_string(sampleRate) + " Hz";
        return nullptr;
    }
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file == nullptr) {
        // libsndfile leaves the descriptor open when it fails to take it over.
        if (fd >= 0) ::close(fd);
        error = "cannot write '" + name + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    return std::unique_ptr<SndfileSink>(new SndfileSink(file, name, channels));
}

SndfileSink::SndfileSink(SNDFILE* file, std::string name, int channels)
    : file_(file), name_(std::move(name)), channels_(channels) {}

SndfileSink::~SndfileSink() {
    if (file_ != nullptr) sf_close(file_);
}

bool SndfileSink::write(const float* const* channel, int count) {
    if (file_ == nullptr) {
        error_ = "cannot write '" + name_ + "': the file is already closed";
        return false;
    }
    if (count <= 0) return count == 0;
    const std::size_t samples = static_cast<std::size_t>(count) * static_cast<std::size_t>(channels_);
    if (interleaved_.size() < samples) interleaved_.resize(samples);
    float* frame = interleaved_.data();
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < channels_; ++c) *frame++ = channel[c][i];
    if (sf_writef_float(file_, interleaved_.data(), count) != count) {
        error_ = "cannot write '" + name_ + "': " + sf_strerror(file_);
        return false;
    }
    frames_ += count;
    return true;
}

bool SndfileSink::finish() {
    if (file_ == nullptr) return error_.empty();
    sf_write_sync(file_);
    const int status = sf_close(file_);
    file_ = nullptr;
    if (status != 0) {
        error_ = "cannot complete '" + name_ + "': " + sf_error_number(status);
        return false;
    }
    return true;
}

}  // namespace wowfix::hostsim
