#include "spectral/HartleyStages.h"

#include "spectral/Float4.h"
#include "spectral/HartleyButterflies.h"
#include "spectral/HartleyPermutationTable.h"
#include "spectral/HartleyTwiddleTable.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace wowfix::hartley {

namespace {

int log2OfLength(int n) {
    int bits = 0;
    while ((1 << bits) < n) ++bits;
    return bits;
}

// The early stages only combine neighbours within short blocks of the permuted
// array. They run four blocks at a time, one block per Float4 lane, as one
// block-sized transform on a small array that stays in the first-level cache.
// Blocks have 2^8 or 2^7 points, the same parity as the full length, so that
// the block transform's first pass and stages are exactly the early stages of
// the full one; a short transform uses blocks of a quarter of its length.
constexpr int kMaxBlockBits = 8;

int blockBitsFor(int bits) {
    int b = (bits & 1) ? kMaxBlockBits - 1 : kMaxBlockBits;
    while (b > bits - 2) b -= 2;
    return b;
}

// Early stages on the permuted array in place: four neighbouring blocks are
// transposed into the lanes and back.
bool earlyStagesInPlace(float* x, int n, int blockBits) {
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
        if (!combineAllStages(lanes, size, blockBits)) return false;
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

// Early stages straight from the input in natural order. Seen as a matrix of
// 2^blockBits rows by n / 2^blockBits columns, element e of block p of the
// permuted array is x[reverse(e)][reverse(p)]: each block is one column, read
// from bit-reversed rows. Four neighbouring columns fill the four lanes with
// plain vector loads; the results are transposed out to their four blocks.
bool earlyStagesFromNaturalOrder(const float* x, float* out, int bits, int blockBits) {
    const int size = 1 << blockBits;
    const int columnBits = bits - blockBits;
    const int columns = 1 << columnBits;
    const std::uint32_t* rowOf = HartleyPermutationTable::reversed(blockBits);
    const std::uint32_t* blockOf = HartleyPermutationTable::reversed(columnBits);
    if (rowOf == nullptr || blockOf == nullptr) return false;
    Float4 lanes[1 << kMaxBlockBits];
    for (int c = 0; c < columns; c += 4) {
        const float* column = x + c;
        for (int e = 0; e < size; ++e) lanes[e] = load4(column + (static_cast<std::size_t>(rowOf[e]) << columnBits));
        if (!combineAllStages(lanes, size, blockBits)) return false;
        float* d0 = out + (static_cast<std::size_t>(blockOf[c]) << blockBits);
        float* d1 = out + (static_cast<std::size_t>(blockOf[c + 1]) << blockBits);
        float* d2 = out + (static_cast<std::size_t>(blockOf[c + 2]) << blockBits);
        float* d3 = out + (static_cast<std::size_t>(blockOf[c + 3]) << blockBits);
        for (int e = 0; e < size; e += 4) {
            Float4 a = lanes[e], b = lanes[e + 1], c2 = lanes[e + 2], d = lanes[e + 3];
            transpose4(a, b, c2, d);
            store4(d0 + e, a);
            store4(d1 + e, b);
            store4(d2 + e, c2);
            store4(d3 + e, d);
        }
    }
    return true;
}

// One radix-4 stage k over the whole array, from src into dst (which may be
// the same array), four twiddle indices at a time: lane l holds index i + l,
// so f comes from ascending and g (at k1 - i - l) from descending addresses.
// Indices 0 ... 3 run alone so that the groups of four fill the rest,
// i = 4 ... kx - 1, exactly. With kSplit (last stage only), the outputs are
// split into the real-spectrum layout on the way out.
template <bool kSplit>
void laterStage(const float* src, float* dst, int n, int k, const HartleyTwiddleTable::Stage& tw) {
    const int k1 = 1 << k;
    const int k4 = k1 << 2;
    const int kx = k1 >> 1;
    const int aloneEnd = kx < 4 ? kx : 4;
    for (int b = 0; b < n; b += k4) {
        const float* s = src + b;
        float* d = dst + b;
        for (int i = 0; i < aloneEnd; ++i) {
            const int fi = i;
            const int gi = i == 0 ? kx : k1 - i;
            float f[4], g[4];
            for (int m = 0; m < 4; ++m) {
                f[m] = s[fi + m * k1];
                g[m] = s[gi + m * k1];
            }
            if (i == 0) {
                plainButterfly(f, g);
                if (kSplit) splitRealSpectrumPlain(f, g);
            } else {
                rotatedButterfly(f, g, tw.c1[i], tw.s1[i], tw.c2[i], tw.s2[i]);
                if (kSplit) splitRealSpectrumRotated(f, g);
            }
            for (int m = 0; m < 4; ++m) {
                d[fi + m * k1] = f[m];
                d[gi + m * k1] = g[m];
            }
        }
        for (int i = 4; i < kx; i += 4) {
            const int fi = i;
            const int gi = k1 - i - 3;
            Float4 f[4], g[4];
            for (int m = 0; m < 4; ++m) {
                f[m] = load4(s + fi + m * k1);
                g[m] = reversed(load4(s + gi + m * k1));
            }
            rotatedButterfly(f, g, load4(tw.c1 + i), load4(tw.s1 + i), load4(tw.c2 + i), load4(tw.s2 + i));
            if (kSplit) splitRealSpectrumRotated(f, g);
            for (int m = 0; m < 4; ++m) {
                store4(d + fi + m * k1, f[m]);
                store4(d + gi + m * k1, reversed(g[m]));
            }
        }
    }
}

// The stages after the early ones, from src; the last one writes into dst.
bool laterStages(float* src, float* dst, int n, int blockBits, Output output) {
    for (int k = blockBits; (4 << k) <= n; k += 2) {
        HartleyTwiddleTable::Stage tw;
        if (!HartleyTwiddleTable::stage(k, tw)) return false;
        if ((4 << k) < n)
            laterStage<false>(src, src, n, k, tw);
        else if (output == Output::realSpectrum)
            laterStage<true>(src, dst, n, k, tw);
        else
            laterStage<false>(src, dst, n, k, tw);
    }
    return true;
}

}  // namespace

bool transformInPlace(float* x, int n) {
    const int bits = log2OfLength(n);
    const std::uint32_t* reversedIndex = HartleyPermutationTable::reversed(bits);
    if (reversedIndex == nullptr) return false;
    for (int k = 1; k < n; ++k) {
        const int j = static_cast<int>(reversedIndex[k]);
        if (k > j) std::swap(x[k], x[j]);
    }
    if (n < 16) return combineAllStages(x, n, bits);
    const int blockBits = blockBitsFor(bits);
    return earlyStagesInPlace(x, n, blockBits) && laterStages(x, x, n, blockBits, Output::hartley);
}

bool transformThroughScratch(float* x, int n, float* scratch, Output output) {
    const int bits = log2OfLength(n);
    const int blockBits = blockBitsFor(bits);
    return earlyStagesFromNaturalOrder(x, scratch, bits, blockBits) && laterStages(scratch, x, n, blockBits, output);
}

}  // namespace wowfix::hartley
