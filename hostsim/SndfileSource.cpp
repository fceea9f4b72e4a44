#include "hostsim/SndfileSource.h"

#include "tools/soundio/PathLimit.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace wowfix::hostsim {

std::unique_ptr<SndfileSource> SndfileSource::open(const std::string& path, std::string& error) {
    std::string why;
    if (!soundio::pathFits(path, why)) {
        error = "cannot open '" + path + "': " + why;
        return nullptr;
    }
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot open '" + path + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
        sf_close(file);
        error = "cannot open '" + path + "': no usable audio in it";
        return nullptr;
    }
    return std::unique_ptr<SndfileSource>(
        new SndfileSource(file, path, info.frames, info.channels, info.samplerate, info.format));
}

SndfileSource::SndfileSource(SNDFILE* file, std::string path, std::int64_t frames, int channels,
                             double sampleRate, int format)
    : file_(file),
      path_(std::move(path)),
      frames_(frames),
      channels_(channels),
      sampleRate_(sampleRate),
      format_(format) {}

SndfileSource::~SndfileSource() {
    if (file_ != nullptr) sf_close(file_);
}

bool SndfileSource::read(std::int64_t position, int count, float* const* channel) {
    if (count < 0 || position < 0 || position > frames_ - count) {
        error_ = "read of frames " + std::to_string(position) + " ... " + std::to_string(position + count) +
                 " lies outside '" + path_ + "' (" + std::to_string(frames_) + " frames)";
        return false;
    }
    if (count == 0) return true;
    if (position != position_) {
        if (sf_seek(file_, position, SEEK_SET) != position) {
            error_ = "cannot seek to frame " + std::to_string(position) + " in '" + path_ + "': " + sf_strerror(file_);
            position_ = -1;
            return false;
        }
        position_ = position;
    }
    const std::size_t samples = static_cast<std::size_t>(count) * static_cast<std::size_t>(channels_);
    if (interleaved_.size() < samples) interleaved_.resize(samples);
    const sf_count_t got = sf_readf_float(file_, interleaved_.data(), count);
    if (got != count) {
        error_ = "cannot read frames " + std::to_string(position) + " ... " + std::to_string(position + count) +
                 " of '" + path_ + "': " + (sf_error(file_) != 0 ? sf_strerror(file_) : "file ends early");
        position_ = -1;
        return false;
    }
    position_ += count;
    const float* frame = interleaved_.data();
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < channels_; ++c) channel[c][i] = *frame++;
    return true;
}

}  // namespace wowfix::hostsim
