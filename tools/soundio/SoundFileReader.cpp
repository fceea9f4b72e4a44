#include "tools/soundio/SoundFileReader.h"

#include "tools/soundio/PathLimit.h"

#include <sndfile.h>

#include <cstring>

namespace wowfix::soundio {

std::unique_ptr<SoundFileReader> SoundFileReader::open(const std::string& path, std::string& error) {
    std::string why;
    if (!pathFits(path, why)) {
        error = "cannot read '" + path + "': " + why;
        return nullptr;
    }
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read '" + path + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = "cannot read '" + path + "': no channels or no sample rate";
        return nullptr;
    }
    // Integer files read as floats in −1 … 1 whatever their width.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    return std::unique_ptr<SoundFileReader>(
        new SoundFileReader(file, path, info.samplerate, info.channels, static_cast<std::int64_t>(info.frames)));
}

SoundFileReader::SoundFileReader(sf_private_tag* file, std::string path, int sampleRate, int channels,
                                 std::int64_t frames)
    : file_(file), path_(std::move(path)), sampleRate_(sampleRate), channels_(channels), frames_(frames) {}

SoundFileReader::~SoundFileReader() { sf_close(file_); }

long SoundFileReader::read(float* interleaved, long count) {
    if (count <= 0) return 0;
    const sf_count_t got = sf_readf_float(file_, interleaved, count);
    if (got < count && sf_error(file_) != SF_ERR_NO_ERROR) return -1;
    return static_cast<long>(got);
}

bool SoundFileReader::seek(std::int64_t position) {
    return sf_seek(file_, position, SEEK_SET) == position;
}

}  // namespace wowfix::soundio
