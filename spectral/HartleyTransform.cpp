#include "spectral/HartleyTransform.h"

#include "spectral/Float4.h"
#include "spectral/HartleyButterflies.h"
#include "spectral/HartleyPermutationTable.h"
#include "spectral/HartleyTwiddleTable.h"

#include <cstdint>
#include <utility>

namespace wowfix {

namespace {

int log2OfLength(int n) {
    int bits = 0;
    while ((1 << bits) < n) ++bits;
    return bits;
}

// Bit-reversal permutation: element k goes to the index whose L bits are those
// of k in reverse order.
bool permute(float* x, int bits) {
    HartleyPermutationTable::Swaps swaps;
    if (!HartleyPermutationTable::swaps(bits, swaps)) return false;
    const std::uint32_t* p = swaps.pairs;
    for (int m = 0; m < swaps.count; ++m, p += 2) std::swap(x[p[0]], x[p[1]]);
    return true;
}

// The early stages only combine neighbours within short blocks. They run four
// neighbouring blocks at a time, one block per lane: the blocks are transposed
// into a small array of Float4, transformed there as one block-sized transform,
// and transposed back. Blocks of 2^6 or 2^7 points (same parity as the full
// length, so that the block transform's stages are exactly the early stages of
// the full one) stay in the first-level cache.
constexpr int kMaxBlockBits = 7;

int blockBitsFor(int bits) {
    int b = (bits & 1) ? kMaxBlockBits : kMaxBlockBits - 1;
    while (b > bits - 2) b -= 2;
    return b;
}

bool earlyStagesInLanes(float* x, int n, int blockBits) {
    const int size = 1 << blockBits;
    Float4 lanes[1 << kMaxBlockBits];
    for (int q = 0; q < n; q += 4 * size) {
        float* p = x + q;
        for (int e = 0; e < size; e += 4) {
            Float4 a = load4(p + e), b = load4(p + size + e), c = load4(p + 2 * size + e), d = load4(p + 3 * size + e);
            transpose4(a, b, c, d);
            lanes[e] = a;
            lanes[e + 1] = b;
            lanes[e + 2] = c;
            lanes[e + 3] = d;
        }
        if (!hartley::combineAllStages(lanes, size, blockBits)) return false;
        for (int e = 0; e < size; e += 4) {
            Float4 a = lanes[e], b = lanes[e + 1], c = lanes[e + 2], d = lanes[e + 3];
            transpose4(a, b, c, d);
            store4(p + e, a);
            store4(p + size + e, b);
            store4(p + 2 * size + e, c);
            store4(p + 3 * size + e, d);
        }
    }
    return true;
}

// One radix-4 stage k over the whole array, four twiddle indices at a time:
// lane l holds index i + l, so f comes from ascending and g (at k1 - i - l)
// from descending addresses. The first three twiddled indices run alone so
// that the groups of four fill the rest, i = 4 ... kx - 1, exactly.
void laterStageInLanes(float* x, int n, int k, const HartleyTwiddleTable::Stage& tw) {
    const int k1 = 1 << k;
    const int k2 = k1 << 1;
    const int k3 = k2 + k1;
    const int k4 = k2 << 1;
    const int kx = k1 >> 1;
    const int aloneEnd = kx < 4 ? kx : 4;
    for (int b = 0; b < n; b += k4) {
        float* block = x + b;
        hartley::untwiddledButterfly(block, block + kx, k1, k2, k3);
        for (int i = 1; i < aloneEnd; ++i) hartley::twiddledButterfly(block, i, k1, tw);
        for (int i = 4; i < kx; i += 4) {
            float* fp = block + i;
            float* gp = block + k1 - i - 3;
            Float4 f[4], g[4];
            for (int m = 0; m < 4; ++m) {
                f[m] = load4(fp + m * k1);
                g[m] = reversed(load4(gp + m * k1));
            }
            hartley::rotatedButterfly(f, g, load4(tw.c1 + i), load4(tw.s1 + i), load4(tw.c2 + i), load4(tw.s2 + i));
            for (int m = 0; m < 4; ++m) {
                store4(fp + m * k1, f[m]);
                store4(gp + m * k1, reversed(g[m]));
            }
        }
    }
}

}  // namespace

bool HartleyTransform::isSupportedLength(int n) {
    return n >= kMinLength && n <= kMaxLength && (n & (n - 1)) == 0;
}

bool HartleyTransform::fht(float* x, int n) const {
    if (x == nullptr || !isSupportedLength(n)) return false;
    const int bits = log2OfLength(n);
    if (!permute(x, bits)) return false;
    if (n < 16) return hartley::combineAllStages(x, n, bits);

    const int blockBits = blockBitsFor(bits);
    if (!earlyStagesInLanes(x, n, blockBits)) return false;
    for (int k = blockBits; (4 << k) <= n; k += 2) {
        HartleyTwiddleTable::Stage tw;
        if (!HartleyTwiddleTable::stage(k, tw)) return false;
        laterStageInLanes(x, n, k, tw);
    }
    return true;
}

bool HartleyTransform::realFft(int n, float* x) const {
    if (!fht(x, n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = x[i];
        const float b = x[j];
        x[j] = (a - b) * 0.5f;
        x[i] = (a + b) * 0.5f;
    }
    return true;
}

bool HartleyTransform::realIfft(int n, float* x) const {
    if (x == nullptr || !isSupportedLength(n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = x[i];
        const float b = x[j];
        x[j] = a - b;
        x[i] = a + b;
    }
    return fht(x, n);
}

bool HartleyTransform::complexFft(int n, float* re, float* im) const {
    if (re == nullptr || im == nullptr || !isSupportedLength(n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = re[i];
        const float b = re[j];
        const float q = im[i];
        const float r = im[j];
        re[i] = ((a + b) + (q - r)) * 0.5f;
        re[j] = ((a + b) - (q - r)) * 0.5f;
        im[i] = ((q + r) - (a - b)) * 0.5f;
        im[j] = ((q + r) + (a - b)) * 0.5f;
    }
    return fht(re, n) && fht(im, n);
}

bool HartleyTransform::complexIfft(int n, float* re, float* im) const {
    if (re == nullptr || im == nullptr || !isSupportedLength(n)) return false;
    if (!fht(re, n) || !fht(im, n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = re[i];
        const float b = re[j];
        const float q = im[i];
        const float r = im[j];
        im[i] = ((q + r) + (a - b)) * 0.5f;
        im[j] = ((q + r) - (a - b)) * 0.5f;
        re[i] = ((a + b) - (q - r)) * 0.5f;
        re[j] = ((a + b) + (q - r)) * 0.5f;
    }
    return true;
}

}  // namespace wowfix
