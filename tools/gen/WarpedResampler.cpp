#include "tools/gen/WarpedResampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cstring>

namespace wowfix::gen {

namespace {
constexpr long kInputBlock = 4096;  // frames read from the source at a time
constexpr long kInputLow = 512;     // refill when fewer frames than this are waiting
}  // namespace

std::unique_ptr<WarpedResampler> WarpedResampler::create(std::unique_ptr<NominalSource> source,
                                                         const SpeedModel& speed, double sampleRate,
                                                         std::string& error) {
    int status = 0;
    SRC_STATE* state = src_new(SRC_SINC_BEST_QUALITY, source->channels(), &status);
    if (state == nullptr) {
        error = std::string("cannot set up libsamplerate: ") + src_strerror(status);
        return nullptr;
    }
    return std::unique_ptr<WarpedResampler>(new WarpedResampler(std::move(source), speed, sampleRate, state));
}

WarpedResampler::WarpedResampler(std::unique_ptr<NominalSource> source, const SpeedModel& speed,
                                 double sampleRate, SRC_STATE_tag* state)
    : source_(std::move(source)), speed_(speed), sampleRate_(sampleRate), state_(state) {}

WarpedResampler::~WarpedResampler() { src_delete(state_); }

bool WarpedResampler::refill(std::string& error) {
    if (sourceEnded_ || inputFrames_ >= kInputLow) return true;
    const int channels = source_->channels();
    if (inputFrames_ > 0 && inputStart_ > 0)
        std::memmove(input_.data(), input_.data() + inputStart_ * channels,
                     sizeof(float) * static_cast<std::size_t>(inputFrames_ * channels));
    inputStart_ = 0;
    input_.resize(static_cast<std::size_t>((inputFrames_ + kInputBlock) * channels));
    const long got = source_->read(input_.data() + inputFrames_ * channels, kInputBlock, error);
    if (got < 0) return false;
    if (got == 0) sourceEnded_ = true;
    inputFrames_ += got;
    return true;
}

bool WarpedResampler::addFrames(double* interleaved, long frames, std::string& error) {
    const int channels = source_->channels();
    const double rateRatio = source_->sampleRate() / sampleRate_;
    frame_.resize(static_cast<std::size_t>(channels));
    for (long i = 0; i < frames; ++i) {
        const double ratio = 1.0 / (rateRatio * speed_.frameRatio(nextFrame_, sampleRate_));
        int status = src_set_ratio(state_, ratio);
        // libsamplerate may take input without giving a frame while it fills
        // its own buffer; it is fed until the frame comes.
        for (;;) {
            if (status == 0 && !refill(error)) return false;
            SRC_DATA data;
            std::memset(&data, 0, sizeof(data));
            data.data_in = input_.data() + inputStart_ * channels;
            data.input_frames = inputFrames_;
            data.data_out = frame_.data();
            data.output_frames = 1;
            data.src_ratio = ratio;
            data.end_of_input = sourceEnded_ ? 1 : 0;
            if (status == 0) status = src_process(state_, &data);
            if (status != 0) {
                error = std::string("libsamplerate: ") + src_strerror(status);
                return false;
            }
            inputStart_ += data.input_frames_used;
            inputFrames_ -= data.input_frames_used;
            if (data.output_frames_gen == 1) break;
            if (data.input_frames_used == 0) {
                if (sourceEnded_) {
                    // Past the end of the programme and its filter tail: silence.
                    std::fill(frame_.begin(), frame_.end(), 0.0f);
                    break;
                }
                if (inputFrames_ >= kInputLow) {
                    error = "libsamplerate took no input and gave no output";
                    return false;
                }
            }
        }
        for (int c = 0; c < channels; ++c) interleaved[i * channels + c] += frame_[c];
        ++nextFrame_;
    }
    return true;
}

}  // namespace wowfix::gen
