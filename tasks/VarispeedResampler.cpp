#include "tasks/VarispeedResampler.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

constexpr double pi = 3.141592653589793;

// A point on the unit circle, cos a + i sin a.
struct Turn {
    double c;
    double s;
};

inline Turn times(Turn a, Turn b)
{
    return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s};
}

// z^n by repeated squaring. For angles of n a up to pi / 2 every imaginary part
// is a sum of positive products, so sin(n a) keeps its relative accuracy however
// small it is.
inline Turn power(Turn z, int n)
{
    Turn r{1.0, 0.0};
    while (n > 0) {
        if (n & 1)
            r = times(r, z);
        z = times(z, z);
        n >>= 1;
    }
    return r;
}

// Per-tap constants of the kernel with T = 2H + 1 taps, tap j = k + H:
//
//   u = d - k = d + offset_j,                      offset_j = H - j
//   sinc(u) = sin((d - k) pi) / (u pi) = (-1)^k sin(d pi) / (u pi)
//   w(u) = 0.5 (1 - cos(theta + phi_j)),           theta = 2 pi d / T,
//                                                  phi_j = 2 pi (2H - j) / T
//        = 0.5 (1 - cos theta cos phi_j + sin theta sin phi_j)
//
// so with a = 0.5 sin(d pi) / pi, b = a cos theta, c = a sin theta
//
//   weight_j = (a (-1)^k - b (-1)^k cos phi_j + c (-1)^k sin phi_j) / u.
//
// The tables run one entry past the last tap (sign terms 0, offset -H - 1) so that
// the weights can be computed in pairs.
struct KernelTaps {
    const double* sign;
    const double* signCos;
    const double* signSin;
    const double* offset;
    int taps;
    double centreWeight; // w(0), the only weight at d = 0
    Turn turn;           // e^{i 2 pi / T}
};

// All the angles of the weights come from one sine/cosine pair. With e = min(d,
// 1 - d) (exact in floating point) and z = e^{i pi e / T}:
//
//   sin(d pi) = sin(e pi) = Im z^T,
//   theta = 2 pi e / T (z^2) when d <= 1/2, else 2 pi / T - 2 pi e / T.
//
// Reducing d to e keeps sin(d pi) accurate as d approaches 1, where the taps next
// to the centre weigh almost 1 and sin(d pi) itself is tiny.
template <int Taps>
inline void kernelWeights(const KernelTaps& kernel, double d, double* weights)
{
    const int taps = Taps > 0 ? Taps : kernel.taps;
    const int pairs = (taps + 1) / 2;
    if (d == 0.0) {
        // On an input frame: the sinc vanishes at every tap but the centre.
        for (int j = 0; j < 2 * pairs; ++j)
            weights[j] = 0.0;
        weights[taps / 2] = kernel.centreWeight;
        return;
    }
    const double e = d <= 0.5 ? d : 1.0 - d;
    const double beta = pi * e / taps;
    const Turn z{std::cos(beta), std::sin(beta)};
    const Turn z2 = times(z, z);
    const double sinDPi = power(z, taps).s;
    const Turn theta = d <= 0.5 ? z2
                                : Turn{kernel.turn.c * z2.c + kernel.turn.s * z2.s,
                                       kernel.turn.s * z2.c - kernel.turn.c * z2.s};
    const double a = 0.5 * sinDPi / pi;
    const double b = a * theta.c;
    const double c = a * theta.s;

    const double* __restrict sign = kernel.sign;
    const double* __restrict signCos = kernel.signCos;
    const double* __restrict signSin = kernel.signSin;
    const double* __restrict offset = kernel.offset;
    double* __restrict w = weights;
    for (int j = 0; j < 2 * pairs; ++j)
        w[j] = (a * sign[j] - b * signCos[j] + c * signSin[j]) / (d + offset[j]);
}

// sum_j weights[j] x[j] over the taps, in two interleaved partial sums.
template <int Taps>
inline double weightedSum(const double* __restrict weights, const double* __restrict x, int taps)
{
    const int n = Taps > 0 ? Taps : taps;
    double even = 0.0;
    double odd = 0.0;
    for (int j = 0; j + 1 < n; j += 2) {
        even += weights[j] * x[j];
        odd += weights[j + 1] * x[j + 1];
    }
    return (even + odd) + weights[n - 1] * x[n - 1];
}

// Output frame m lies at work[index[m]] + offset[m]; its taps start H frames
// before index[m].
template <int Taps, int Channels>
void renderWith(const KernelTaps& kernel, const int32_t* index, const double* offset, int frames,
                const double* const* work, float* const* outputs)
{
    const int halfWidth = kernel.taps / 2;
    double weights[2 * VarispeedResampler::maxHalfWidth + 2];
    for (int m = 0; m < frames; ++m) {
        kernelWeights<Taps>(kernel, offset[m], weights);
        const int32_t first = index[m] - halfWidth;
        for (int ch = 0; ch < Channels; ++ch)
            outputs[ch][m] = static_cast<float>(weightedSum<Taps>(weights, work[ch] + first, kernel.taps));
    }
}

} // namespace

double VarispeedResampler::safeRatio(double ratio)
{
    if (!std::isfinite(ratio) || !(ratio > 0.0))
        return 1.0;
    return std::clamp(ratio, minRatio, maxRatio);
}

bool VarispeedResampler::init(int H, int length)
{
    halfWidth = 0;
    pendingFrames = -1;
    if (H < 1 || H > maxHalfWidth || length < 1 || length > maxBlockLength)
        return false;

    history.assign(H, 0.0);
    ratioHistory.assign(H, 1.0);
    isFirst = isLast = false;
    fraction = 0.0;
    // The first output position lies after the H frames of zero history, even if
    // the first block does not say it is the first.
    nextIndex = H;
    lastIndex = 0;
    tailPad.assign(1, 0.0);
    work.assign(1, 0.0);
    workRatio.assign(1, 1.0);
    blockLength = length;
    historyLength = H;
    halfWidth = H;
    blockEnd = 0;

    const size_t span = static_cast<size_t>(length) + 4 * static_cast<size_t>(H) + 32;
    work.reserve(span);
    workRatio.reserve(span);
    workStep.reserve(span);

    const int taps = 2 * H + 1;
    for (int j = 0; j <= maxTaps; ++j) {
        const int k = j - H;
        const double sign = (j < taps) ? ((k % 2 == 0) ? 1.0 : -1.0) : 0.0;
        const double phi = 2.0 * pi * static_cast<double>(2 * H - j) / taps;
        tapSign[j] = sign;
        tapSignCos[j] = sign * std::cos(phi);
        tapSignSin[j] = sign * std::sin(phi);
        tapOffset[j] = static_cast<double>(H - j);
    }
    centreWeight = 0.5 * (1.0 - std::cos(2.0 * pi * H / taps));
    turnCos = std::cos(2.0 * pi / taps);
    turnSin = std::sin(2.0 * pi / taps);
    return true;
}

int VarispeedResampler::prepare(const float* ratios, const float* input, int count, bool first, bool last)
{
    if (halfWidth < 1 || count < 0 || count > maxBlockLength || (count > 0 && (ratios == nullptr || input == nullptr)))
        return -1;

    const int H = halfWidth;
    isFirst = first;
    isLast = last;

    if (first) {
        // A new run: zero history, the read position on the block's first frame.
        history.assign(H, 0.0);
        ratioHistory.assign(H, 1.0);
        fraction = 0.0;
        nextIndex = H;
    }
    historyLength = static_cast<int32_t>(history.size());
    blockLength = count;
    blockEnd = historyLength + count;

    // Every output position needs H frames after it: the block's own frames, or
    // after the final block the zero padding.
    if (last) {
        lastIndex = blockEnd - 1;
        tailPad.assign(H, 0.0);
    } else {
        lastIndex = blockEnd - H - 1;
        tailPad.clear();
    }

    const size_t total = static_cast<size_t>(blockEnd) + tailPad.size();
    work.resize(total);
    workRatio.resize(total);
    workStep.resize(total);
    std::copy(history.begin(), history.end(), work.begin());
    std::copy(ratioHistory.begin(), ratioHistory.end(), workRatio.begin());
    double* __restrict block = work.data() + historyLength;
    double* __restrict blockRatio = workRatio.data() + historyLength;
    for (int n = 0; n < count; ++n) {
        block[n] = input[n];
        blockRatio[n] = safeRatio(ratios[n]);
    }
    std::copy(tailPad.begin(), tailPad.end(), work.begin() + blockEnd);
    std::fill(workRatio.begin() + blockEnd, workRatio.end(), 0.0);
    // The padding is never an output position, so it needs no step.
    const double* __restrict ratio = workRatio.data();
    double* __restrict step = workStep.data();
    for (int32_t n = 0; n < blockEnd; ++n)
        step[n] = 1.0 / ratio[n];
    std::fill(workStep.begin() + blockEnd, workStep.end(), 0.0);

    frameIndex.clear();
    frameOffset.clear();
    int32_t i = nextIndex;
    double pos = i + fraction;
    while (i <= lastIndex) {
        frameIndex.push_back(i);
        frameOffset.push_back(pos - i);
        pos += step[i];
        i = static_cast<int32_t>(pos);
    }
    endIndex = i;
    endPosition = pos;
    pendingFrames = static_cast<int32_t>(frameIndex.size());
    return pendingFrames;
}

void VarispeedResampler::advance()
{
    const int H = halfWidth;
    const int32_t i = endIndex;
    fraction = endPosition - i;
    if (i + 1 - H <= blockEnd) {
        // Keep the H frames before the next output position and everything after
        // it; in the next block's work that position is H.
        history.assign(work.begin() + (i - H), work.begin() + blockEnd);
        ratioHistory.assign(workRatio.begin() + (i - H), workRatio.begin() + blockEnd);
        nextIndex = H;
    } else {
        // The step jumped more than H frames past the block's end: nothing is
        // kept, and the next output position lies that far into the next block.
        history.clear();
        ratioHistory.clear();
        nextIndex = i - blockEnd;
    }
    pendingFrames = -1;
}

void VarispeedResampler::renderFrames(const VarispeedResampler& positions, VarispeedResampler* const* resamplers,
                                      float* const* outputs, int channels)
{
    const KernelTaps kernel{positions.tapSign.data(),
                            positions.tapSignCos.data(),
                            positions.tapSignSin.data(),
                            positions.tapOffset.data(),
                            2 * positions.halfWidth + 1,
                            positions.centreWeight,
                            {positions.turnCos, positions.turnSin}};
    const double* work[2] = {nullptr, nullptr};
    for (int ch = 0; ch < channels; ++ch)
        work[ch] = resamplers[ch]->work.data();

    const int32_t* index = positions.frameIndex.data();
    const double* offset = positions.frameOffset.data();
    const int frames = positions.pendingFrames;
    if (positions.halfWidth == 8) {
        if (channels == 2)
            renderWith<17, 2>(kernel, index, offset, frames, work, outputs);
        else
            renderWith<17, 1>(kernel, index, offset, frames, work, outputs);
    } else {
        if (channels == 2)
            renderWith<0, 2>(kernel, index, offset, frames, work, outputs);
        else
            renderWith<0, 1>(kernel, index, offset, frames, work, outputs);
    }
}

bool VarispeedResampler::render(float* output)
{
    if (pendingFrames < 0 || (pendingFrames > 0 && output == nullptr))
        return false;
    VarispeedResampler* self = this;
    renderFrames(*this, &self, &output, 1);
    advance();
    return true;
}

bool VarispeedResampler::samePositions(const VarispeedResampler& other) const
{
    return halfWidth == other.halfWidth && pendingFrames == other.pendingFrames && frameIndex == other.frameIndex &&
           frameOffset == other.frameOffset;
}

bool VarispeedResampler::renderPair(VarispeedResampler& left, VarispeedResampler& right, float* leftOutput,
                                    float* rightOutput)
{
    if (left.pendingFrames < 0 || right.pendingFrames < 0)
        return false;
    if ((left.pendingFrames > 0 && leftOutput == nullptr) || (right.pendingFrames > 0 && rightOutput == nullptr))
        return false;
    if (&left == &right)
        return false;
    if (!left.samePositions(right))
        return left.render(leftOutput) && right.render(rightOutput);

    VarispeedResampler* both[2] = {&left, &right};
    float* outputs[2] = {leftOutput, rightOutput};
    renderFrames(left, both, outputs, 2);
    left.advance();
    right.advance();
    return true;
}

} // namespace wowfix
