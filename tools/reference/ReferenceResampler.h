#pragma once

#include <cstdint>
#include <vector>

namespace wowfix::reference {

// The varispeed windowed-sinc interpolator written exactly as its defining
// formulas read: every tap of every output frame evaluates its own sine and
// cosine, the block arrays are rebuilt for every block, and nothing is guarded.
// It is slow on purpose and serves only as the yardstick that the plug-in's
// VarispeedResampler is tested and timed against.
//
// Preconditions (not checked): every ratio is finite and positive, the first
// block of a run is flagged first, and every block but the last has exactly the
// blockLength given to init.
class ReferenceResampler {
public:
    bool init(int H, int blockLength);
    int prepare(const float* ratios, const float* input, int count, bool first, bool last);
    bool render(float* output);

private:
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
    int32_t blockLength = 0;
    int32_t historyLength = 0;
    int32_t halfWidth = 0;
};

} // namespace wowfix::reference
