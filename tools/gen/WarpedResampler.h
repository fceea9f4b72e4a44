#pragma once
// Plays a NominalSource at the damaged speed with libsamplerate's best sinc
// converter (SRC_SINC_BEST_QUALITY), for programmes that exist only as
// samples (noise, input files).
//
// Damaged frame n must hold the programme at τ(n), that is the source at
// input position q(n) = fs_in · τ(n / fs). libsamplerate produces an output
// frame at its current input position and then advances by 1 / ratio input
// frames. The converter is therefore driven one output frame at a time, the
// ratio set before each frame (src_set_ratio, no ramp) to
//
//     1 / (q(n+1) − q(n)) = 1 / ((fs_in / fs) · r(n)),
//
// r(n) being the true PVC value of frame n, so that its position after frame
// n is exactly q(n+1). (Handing libsamplerate a new ratio per block instead
// lets it ramp from the ratio of the block's last frame, which leaves the
// position behind by a fraction of the speed change: a timing error that
// would be part of the damage but not of the curve.)

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/gen/NominalSource.h"
#include "tools/gen/SpeedModel.h"

struct SRC_STATE_tag;

namespace wowfix::gen {

class WarpedResampler {
public:
    // Null with `error` set when libsamplerate cannot be set up.
    static std::unique_ptr<WarpedResampler> create(std::unique_ptr<NominalSource> source, const SpeedModel& speed,
                                                   double sampleRate, std::string& error);
    ~WarpedResampler();
    WarpedResampler(const WarpedResampler&) = delete;
    WarpedResampler& operator=(const WarpedResampler&) = delete;

    // Adds the next `frames` damaged frames to `interleaved` (doubles,
    // frames × channels).
    bool addFrames(double* interleaved, long frames, std::string& error);

private:
    WarpedResampler(std::unique_ptr<NominalSource> source, const SpeedModel& speed, double sampleRate,
                    SRC_STATE_tag* state);
    bool refill(std::string& error);

    std::unique_ptr<NominalSource> source_;
    const SpeedModel& speed_;
    double sampleRate_;
    SRC_STATE_tag* state_;
    std::int64_t nextFrame_ = 0;
    std::vector<float> input_;  // interleaved, input_[inputStart_ …] not yet taken
    long inputStart_ = 0;
    long inputFrames_ = 0;
    bool sourceEnded_ = false;
    std::vector<float> frame_;
};

}  // namespace wowfix::gen
