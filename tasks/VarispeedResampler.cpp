#include "tasks/VarispeedResampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
// so with a = 0.5 sin(d pi) / pi
//
//   weight_j = a ((-1)^k - cos theta (-1)^k cos phi_j + sin theta (-1)^k sin phi_j) / u.
struct KernelTaps {
    const double* sign;
    const double* signCos;
    const double* signSin;
    const double* offset;
    int taps;
    double centreWeight; // w(0), the only weight at d = 0
    double piOverTaps;   // pi / T
    Turn turn;           // e^{i 2 pi / T}
};

// What the weights of one fractional position d > 0 have in common: the factor
// a = 0.5 sin(d pi) / pi and the window's angle theta.
struct FrameFactors {
    double a;
    Turn theta;
};

// All the angles come from one sine/cosine pair. With e = min(d, 1 - d) (exact in
// floating point) and z = e^{i pi e / T}:
//
//   sin(d pi) = sin(e pi) = Im z^T,
//   theta = 2 pi e / T (z^2) when d <= 1/2, else 2 pi / T - 2 pi e / T.
//
// Reducing d to e keeps sin(d pi) accurate as d approaches 1, where the taps next
// to the centre weigh almost 1 and sin(d pi) itself is tiny.
inline FrameFactors frameFactors(const KernelTaps& kernel, double d)
{
    const double e = std::min(d, 1.0 - d);
    const double beta = e * kernel.piOverTaps;
    const Turn z{std::cos(beta), std::sin(beta)};
    const Turn z2 = times(z, z);
    const double sinDPi = power(z, kernel.taps).s;
    const Turn rest{kernel.turn.c * z2.c + kernel.turn.s * z2.s, kernel.turn.s * z2.c - kernel.turn.c * z2.s};
    return {sinDPi * (0.5 / pi), d > 0.5 ? rest : z2};
}

constexpr int factorBatch = 32;

// The same for a batch of frames of the 17-tap kernel, as one straight loop of
// fixed length without branches, calls or look-ups, which compiles to vector
// code (so the two cases of d are blended arithmetically). z comes from the
// Taylor series of cos and sin to x^10 and x^11, whose first omitted terms stay
// below 1e-17 for 0 <= x <= pi / 34; z^17 is z^16 z.
inline void frameFactors17(const KernelTaps& kernel, const double* __restrict d, double* __restrict a,
                           double* __restrict cosTheta, double* __restrict sinTheta)
{
    constexpr double k2 = -1.0 / 2, k4 = 1.0 / 24, k6 = -1.0 / 720, k8 = 1.0 / 40320, k10 = -1.0 / 3628800;
    constexpr double k3 = -1.0 / 6, k5 = 1.0 / 120, k7 = -1.0 / 5040, k9 = 1.0 / 362880, k11 = -1.0 / 39916800;
    const double turnC = kernel.turn.c;
    const double turnS = kernel.turn.s;
    for (int q = 0; q < factorBatch; ++q) {
        const double dq = d[q];
        // upper = 1 for d >= 1/2, else 0; then e = d or 1 - d, both exact.
        const double upper = static_cast<double>(static_cast<int>(2.0 * dq));
        const double e = dq + upper * (1.0 - 2.0 * dq);
        const double x = e * (pi / 17);
        const double x2 = x * x;
        const double c1 = 1.0 + x2 * (k2 + x2 * (k4 + x2 * (k6 + x2 * (k8 + x2 * k10))));
        const double s1 = x * (1.0 + x2 * (k3 + x2 * (k5 + x2 * (k7 + x2 * (k9 + x2 * k11)))));
        const double c2 = c1 * c1 - s1 * s1, s2 = 2.0 * (c1 * s1);
        const double c4 = c2 * c2 - s2 * s2, s4 = 2.0 * (c2 * s2);
        const double c8 = c4 * c4 - s4 * s4, s8 = 2.0 * (c4 * s4);
        const double c16 = c8 * c8 - s8 * s8, s16 = 2.0 * (c8 * s8);
        const double sinDPi = s16 * c1 + c16 * s1;
        // theta = base + direction 2 pi e / T with base 1 (exact) or 2 pi / T.
        const double baseC = 1.0 + upper * (turnC - 1.0);
        const double baseS = upper * turnS;
        const double directedS2 = (1.0 - 2.0 * upper) * s2;
        a[q] = sinDPi * (0.5 / pi);
        cosTheta[q] = baseC * c2 - baseS * directedS2;
        sinTheta[q] = baseS * c2 + baseC * directedS2;
    }
}

// One output frame per channel at fractional position d > 0, from the taps
// x[ch][0 .. T - 1]:
//
//   y = a sum_j x_j (sign_j - cos theta signCos_j + sin theta signSin_j) / (d + offset_j),
//
// the weights computed once for all channels, each sum in two interleaved halves.
template <int Taps, int Channels>
inline void interpolate(const KernelTaps& kernel, double d, FrameFactors f, const double* const* x, double* y)
{
    const int taps = Taps > 0 ? Taps : kernel.taps;
    const double* __restrict sign = kernel.sign;
    const double* __restrict signCos = kernel.signCos;
    const double* __restrict signSin = kernel.signSin;
    const double* __restrict offset = kernel.offset;
    const double ct = f.theta.c;
    const double st = f.theta.s;
    const int pairs = taps / 2;
    double even[Channels] = {}, odd[Channels] = {};
    for (int p = 0; p < pairs; ++p) {
        const int j = 2 * p;
        const double w0 = (sign[j] - ct * signCos[j] + st * signSin[j]) / (d + offset[j]);
        const double w1 = (sign[j + 1] - ct * signCos[j + 1] + st * signSin[j + 1]) / (d + offset[j + 1]);
        for (int ch = 0; ch < Channels; ++ch) {
            even[ch] += w0 * x[ch][j];
            odd[ch] += w1 * x[ch][j + 1];
        }
    }
    const int j = taps - 1;
    const double wLast = (sign[j] - ct * signCos[j] + st * signSin[j]) / (d + offset[j]);
    for (int ch = 0; ch < Channels; ++ch)
        y[ch] = f.a * ((even[ch] + odd[ch]) + wLast * x[ch][j]);
}

// Output frame m lies at work[index[m]] + offset[m]; its taps start H frames
// before index[m]. The frames go in batches, first the angles of the whole batch
// and then the weighted sums, so that the frames' computations overlap.
template <int Taps, int Channels>
void renderWith(const KernelTaps& kernel, const int32_t* index, const double* offset, int frames,
                const double* const* work, float* const* outputs)
{
    const int halfWidth = kernel.taps / 2;
    double d[factorBatch], a[factorBatch], cosTheta[factorBatch], sinTheta[factorBatch];
    for (int m0 = 0; m0 < frames; m0 += factorBatch) {
        const int count = std::min(factorBatch, frames - m0);
        std::copy(offset + m0, offset + m0 + count, d);
        std::fill(d + count, d + factorBatch, 0.5);
        if constexpr (Taps == 17) {
            frameFactors17(kernel, d, a, cosTheta, sinTheta);
        } else {
            for (int q = 0; q < count; ++q) {
                const FrameFactors f = frameFactors(kernel, d[q]);
                a[q] = f.a;
                cosTheta[q] = f.theta.c;
                sinTheta[q] = f.theta.s;
            }
        }
        for (int q = 0; q < count; ++q) {
            const int m = m0 + q;
            double y[Channels];
            if (d[q] == 0.0) {
                // On an input frame the sinc vanishes at every tap but the centre.
                for (int ch = 0; ch < Channels; ++ch)
                    y[ch] = kernel.centreWeight * work[ch][index[m]];
            } else {
                const double* x[Channels];
                for (int ch = 0; ch < Channels; ++ch)
                    x[ch] = work[ch] + (index[m] - halfWidth);
                interpolate<Taps, Channels>(kernel, d[q], {a[q], {cosTheta[q], sinTheta[q]}}, x, y);
            }
            for (int ch = 0; ch < Channels; ++ch)
                outputs[ch][m] = static_cast<float>(y[ch]);
        }
    }
}

// A ratio that is not a finite number above 0 counts as 1.0; the others are
// bounded so that every step moves the read head by 1/16 to 16 frames.
inline double usableRatio(double ratio)
{
    if (ratio >= VarispeedResampler::minRatio && ratio <= VarispeedResampler::maxRatio)
        return ratio;
    // Not a number fails every comparison.
    if (ratio > 0.0 && ratio <= std::numeric_limits<double>::max())
        return ratio < VarispeedResampler::minRatio ? VarispeedResampler::minRatio : VarispeedResampler::maxRatio;
    return 1.0;
}

} // namespace

double VarispeedResampler::safeRatio(double ratio)
{
    return usableRatio(ratio);
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
    for (int j = 0; j < taps; ++j) {
        const int k = j - H;
        const double sign = (k % 2 == 0) ? 1.0 : -1.0;
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

    fillWork(ratios, input, count);
    pendingFrames = placeFrames();
    return pendingFrames;
}

void VarispeedResampler::fillWork(const float* ratios, const float* input, int count)
{
    const size_t total = static_cast<size_t>(blockEnd) + tailPad.size();
    work.resize(total);
    workRatio.resize(total);
    workStep.resize(total);
    std::copy(history.begin(), history.end(), work.begin());
    std::copy(ratioHistory.begin(), ratioHistory.end(), workRatio.begin());
    for (int32_t n = 0; n < historyLength; ++n)
        workStep[n] = 1.0 / workRatio[n];

    double* __restrict x = work.data() + historyLength;
    double* __restrict ratio = workRatio.data() + historyLength;
    double* __restrict step = workStep.data() + historyLength;
    for (int n = 0; n < count; ++n)
        ratio[n] = usableRatio(ratios[n]);
    // The conversions and divisions in chunks of fixed length, which the
    // compiler turns into vector code.
    constexpr int chunk = 8;
    const int whole = count - count % chunk;
    for (int n0 = 0; n0 < whole; n0 += chunk)
        for (int n = n0; n < n0 + chunk; ++n) {
            x[n] = input[n];
            step[n] = 1.0 / ratio[n];
        }
    for (int n = whole; n < count; ++n) {
        x[n] = input[n];
        step[n] = 1.0 / ratio[n];
    }
    // The padding is never an output position: it needs no ratio and no step.
    std::copy(tailPad.begin(), tailPad.end(), work.begin() + blockEnd);
    std::fill(workRatio.begin() + blockEnd, workRatio.end(), 0.0);
    std::fill(workStep.begin() + blockEnd, workStep.end(), 0.0);
}

int32_t VarispeedResampler::placeFrames()
{
    // Walked input frame by input frame: while the read head stays on frame i it
    // advances by the same step, so only leaving the frame needs a new index.
    // pos < i + 1 is exactly trunc(pos) == i, as pos >= i; i + 1 and i + 2 are
    // exact. So every offset pos - i is in [0, 1): also the first, as the
    // carried fraction came from a position at least as large as i + fraction,
    // which therefore adds up without rounding.
    const int32_t last = lastIndex;
    const double* __restrict step = workStep.data();
    // One input frame yields at most maxRatio + 1 output frames.
    constexpr size_t perInputFrame = static_cast<size_t>(maxRatio) + 2;
    size_t capacity = frameIndex.size();
    int32_t* index = frameIndex.data();
    double* offset = frameOffset.data();
    int32_t frames = 0;
    int32_t i = nextIndex;
    double pos = i + fraction;
    while (i <= last) {
        if (static_cast<size_t>(frames) + perInputFrame > capacity) {
            // The arrays only grow, so that a run of equal blocks allocates once.
            capacity = std::max<size_t>(4096, 2 * capacity);
            frameIndex.resize(capacity);
            frameOffset.resize(capacity);
            index = frameIndex.data();
            offset = frameOffset.data();
        }
        const double s = step[i];
        const double leave = i + 1.0;
        do {
            index[frames] = i;
            offset[frames] = pos - i;
            ++frames;
            pos += s;
        } while (pos < leave);
        // Mostly the head moves on to the next frame; taking that as a branch
        // lets the next step load ahead of the conversion.
        if (pos < leave + 1.0)
            ++i;
        else
            i = static_cast<int32_t>(pos);
    }
    endIndex = i;
    endPosition = pos;
    return frames;
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
    const int taps = 2 * positions.halfWidth + 1;
    const KernelTaps kernel{positions.tapSign.data(),
                            positions.tapSignCos.data(),
                            positions.tapSignSin.data(),
                            positions.tapOffset.data(),
                            taps,
                            positions.centreWeight,
                            pi / taps,
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
    return halfWidth == other.halfWidth && pendingFrames == other.pendingFrames &&
           std::equal(frameIndex.begin(), frameIndex.begin() + pendingFrames, other.frameIndex.begin()) &&
           std::equal(frameOffset.begin(), frameOffset.begin() + pendingFrames, other.frameOffset.begin());
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
