#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace wowfix {

// Windowed-sinc interpolator with a variable step: for every output frame the
// read position in the input advances by 1 / ratio input frames, where ratio is
// the speed ratio of the input frame the position currently lies on. A ratio r
// thus turns one input frame into r output frames on average.
//
// The kernel has 2H + 1 taps. For a read position i + d (0 <= d < 1) the output is
//
//     y = sum_{k=-H..H} x[i + k] * sinc(d - k) * w(d - k),
//     sinc(u) = sin(u pi) / (u pi),   w(u) = 0.5 (1 - cos(2 pi (u + H) / (2H + 1))).
//
// The window is centred on H with divisor 2H + 1, so the centre tap at d = 0
// weighs 0.5 (1 - cos(2 pi H / (2H + 1))) (0.99149... for H = 8), not 1.
//
// Audio arrives in blocks. The first block starts with H frames of zero history,
// so the first output frame lies exactly on the first input frame; the last block
// is padded with H zeros so that output continues up to the last input frame.
// Between blocks the resampler keeps the input frames the next block's
// interpolation still needs (`history`), their ratios, and the fractional read
// position, so the output does not depend on how the input is cut into blocks.
//
// Use per block:  n = prepare(ratios, input, count, first, last);  render(output)
// where output has room for n frames. Two channels that share one ratio curve are
// prepared with the same ratios and flags and rendered together by renderPair,
// which computes each set of kernel weights once for both channels.
//
// Robustness: every ratio goes through safeRatio (a ratio that is not a finite
// number above 0 counts as 1.0, others are clamped to [minRatio, maxRatio]), so
// the read position always advances by between 1/16 and 16 frames and every block
// ends. A block is measured by its own frame count, so a block that is not the
// last one may also be shorter or longer than the length given to init.
class VarispeedResampler {
public:
    static constexpr double minRatio = 1.0 / 16.0;
    static constexpr double maxRatio = 16.0;
    static constexpr int maxHalfWidth = 64;
    // Largest block prepare accepts; keeps every index and output count well
    // inside 32 bits and the position arrays bounded even at maxRatio.
    static constexpr int maxBlockLength = 1 << 22;

    // Starts a run with H taps on each side of the centre tap; blockLength is the
    // expected frames per block (it only sizes the buffers). Answers false, and
    // leaves the resampler refusing every block until a successful init, when H
    // is not in 1..maxHalfWidth or blockLength is not in 1..maxBlockLength.
    bool init(int H, int blockLength);

    // Takes the next block of `count` input frames with their ratios and answers
    // how many output frames render will write for it. Answers -1 and keeps the
    // state for a block it refuses: not initialised, count < 0 or above
    // maxBlockLength, or a null array with count > 0. `first` restarts the run
    // (zero history, read position on the block's first frame); `last` pads the
    // block with zeros so the output reaches its final frame.
    int prepare(const float* ratios, const float* input, int count, bool first, bool last);

    // Writes the frames announced by the last prepare and carries the state into
    // the next block. Answers false, writing nothing and keeping the state, when
    // no prepared block is pending or output is null while frames are due.
    bool render(float* output);

    // Renders two resamplers that were prepared with the same ratios, count and
    // flags, computing each set of kernel weights once for both. If their read
    // positions differ it renders them one after the other instead. Answers false,
    // rendering neither, when either has nothing pending, an output needed is
    // null, or left and right are the same resampler.
    static bool renderPair(VarispeedResampler& left, VarispeedResampler& right,
                           float* leftOutput, float* rightOutput);

    // The ratio the resampler actually uses for a curve value.
    static double safeRatio(double ratio);

private:
    static constexpr int maxTaps = 2 * maxHalfWidth + 1;

    // Renders the prepared frames of `channels` resamplers whose output positions
    // are those of `positions`, one weight computation per frame for all of them.
    static void renderFrames(const VarispeedResampler& positions, VarispeedResampler* const* resamplers,
                             float* const* outputs, int channels);
    // Builds work, workRatio and workStep from the history, the block and the
    // padding.
    void fillWork(const float* ratios, const float* input, int count);
    // Works out the block's output positions; answers their number.
    int32_t placeFrames();
    bool samePositions(const VarispeedResampler& other) const;
    void advance();

    std::vector<double> history;
    std::vector<double> ratioHistory;
    std::vector<double> tailPad;
    std::vector<double> work;
    std::vector<double> workRatio;
    bool isFirst = false;
    bool isLast = false;
    double fraction = 0.0;
    int32_t nextIndex = 0;
    int32_t lastIndex = 0;
    // Frames of the current block (the init length until the first block).
    int32_t blockLength = 0;
    int32_t historyLength = 0;
    int32_t halfWidth = 0;

    // End of the block's frames in work: historyLength + blockLength.
    int32_t blockEnd = 0;
    // Read step 1 / ratio for every position of work.
    std::vector<double> workStep;
    // The output positions of the prepared block, worked out by prepare: index in
    // work and fractional offset d of the first pendingFrames output frames, and
    // the position the read head reaches after the last one. pendingFrames is -1
    // when no block is pending (render must follow its own prepare exactly once).
    std::vector<int32_t> frameIndex;
    std::vector<double> frameOffset;
    int32_t endIndex = 0;
    double endPosition = 0.0;
    int32_t pendingFrames = -1;

    // Constants of the kernel for tap j = k + H (j = 0 .. 2H): (-1)^k, (-1)^k cos phi_j,
    // (-1)^k sin phi_j with phi_j = 2 pi (2H - j) / (2H + 1), and H - j; the
    // centre weight w(0) and e^{i 2 pi / (2H + 1)}.
    std::array<double, maxTaps> tapSign{};
    std::array<double, maxTaps> tapSignCos{};
    std::array<double, maxTaps> tapSignSin{};
    std::array<double, maxTaps> tapOffset{};
    double centreWeight = 0.0;
    double turnCos = 1.0;
    double turnSin = 0.0;
};

} // namespace wowfix
