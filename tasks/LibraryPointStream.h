#pragma once

#include "tasks/ProcessingLibrary.h"

#include <vector>

namespace wowfix {

class PvcCurve;

// The detection half of the library tasks: mixed samples are gathered into
// blocks of 8192 frames, each block goes through plugin_processPVC, and its
// ratio at every 256th frame becomes a curve point moved back by the
// library's delay. The output position advances with every block, also when
// the library answers false for it (its points are then simply missing), so
// later points stay on the frames they came from. Only finite ratios in
// (0, 2] are inserted.
class LibraryPointStream {
public:
    static constexpr int kPointSpacing = 256;

    LibraryPointStream(ProcessingLibrary& library, PvcCurve& curve, int delay);

    void push(float x) {
        input_[static_cast<size_t>(fill_++)] = x;
        if (fill_ == ProcessingLibrary::kBlockLength) processBlock();
    }
    // The first and the last ratio inserted also become the values of the
    // curve's end points, so that both ends stay steady instead of ramping
    // back to 1.0 over the frames the library has not described.
    void steadyEnds();

    int blocksRefused() const { return refused_; }
    int pointsInserted() const { return inserted_; }

private:
    void processBlock();

    ProcessingLibrary& library_;
    PvcCurve& curve_;
    long long delay_;
    std::vector<float> input_;
    std::vector<float> output_;
    int fill_ = 0;
    long long position_ = 0;
    float firstValue_ = 0.0f;
    float lastValue_ = 0.0f;
    int inserted_ = 0;
    int refused_ = 0;
};

}  // namespace wowfix
