#include "tools/gen/FileSource.h"

namespace wowfix::gen {

std::unique_ptr<FileSource> FileSource::open(const std::string& path, int channels, std::string& error) {
    std::unique_ptr<soundio::SoundFileReader> reader = soundio::SoundFileReader::open(path, error);
    if (reader == nullptr) return nullptr;
    if (reader->frames() < 2) {
        error = "'" + path + "' holds fewer than two frames";
        return nullptr;
    }
    if (channels == 0) channels = reader->channels() == 1 ? 1 : 2;
    return std::unique_ptr<FileSource>(new FileSource(std::move(reader), channels));
}

FileSource::FileSource(std::unique_ptr<soundio::SoundFileReader> reader, int channels)
    : reader_(std::move(reader)), channels_(channels) {}

long FileSource::read(float* interleaved, long frames, std::string& error) {
    const int inputChannels = reader_->channels();
    buffer_.resize(static_cast<std::size_t>(frames) * inputChannels);
    const long got = reader_->read(buffer_.data(), frames);
    if (got < 0) {
        error = "cannot read '" + reader_->path() + "'";
        return -1;
    }
    for (long i = 0; i < got; ++i) {
        const float* in = buffer_.data() + i * inputChannels;
        float* out = interleaved + i * channels_;
        if (channels_ == 1) {
            double sum = 0.0;
            for (int c = 0; c < inputChannels; ++c) sum += in[c];
            out[0] = static_cast<float>(sum / inputChannels);
        } else {
            for (int c = 0; c < channels_; ++c) out[c] = in[inputChannels == 1 ? 0 : c];
        }
    }
    return got;
}

}  // namespace wowfix::gen
