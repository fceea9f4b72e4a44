#include "spectral/HartleyTransform.h"

#include "spectral/HartleyPermutationTable.h"
#include "spectral/HartleyTwiddleTable.h"

#include <cstdint>
#include <utility>

namespace wowfix {

namespace {

constexpr float kSqrt2 = 1.4142135f;

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

// First pass, L even: 4-point Hartley transforms of consecutive groups.
void firstPassRadix4(float* x, int n) {
    for (int b = 0; b < n; b += 4) {
        float* e = x + b;
        const float f1 = e[0] - e[1];
        const float f0 = e[0] + e[1];
        const float f3 = e[2] - e[3];
        const float f2 = e[2] + e[3];
        e[2] = f0 - f2;
        e[0] = f0 + f2;
        e[3] = f1 - f3;
        e[1] = f1 + f3;
    }
}

// First pass, L odd: 8-point Hartley transforms of consecutive groups. The
// even elements are f1 ... f4 and the odd ones g1 ... g4.
void firstPassRadix8(float* x, int n) {
    for (int b = 0; b < n; b += 8) {
        float* e = x + b;
        const float c1 = e[0] - e[1];
        const float s1 = e[0] + e[1];
        const float c2 = e[2] - e[3];
        const float s2 = e[2] + e[3];
        const float c3 = e[4] - e[5];
        const float s3 = e[4] + e[5];
        const float c4 = e[6] - e[7];
        const float s4 = e[6] + e[7];
        const float f1 = s1 - s2;
        const float f0 = s1 + s2;
        const float g1 = c1 - c2;
        const float g0 = c1 + c2;
        const float f3 = s3 - s4;
        const float f2 = s3 + s4;
        const float g3 = kSqrt2 * c4;
        const float g2 = kSqrt2 * c3;
        e[4] = f0 - f2;
        e[0] = f0 + f2;
        e[6] = f1 - f3;
        e[2] = f1 + f3;
        e[5] = g0 - g2;
        e[1] = g0 + g2;
        e[7] = g1 - g3;
        e[3] = g1 + g3;
    }
}

// The untwiddled butterflies of a block: index 0 (f) and index kx (g), whose
// rotations are 0 and 45 degrees.
inline void untwiddledButterfly(float* f, float* g, int k1, int k2, int k3) {
    float f1 = f[0] - f[k1];
    float f0 = f[0] + f[k1];
    float f3 = f[k2] - f[k3];
    float f2 = f[k2] + f[k3];
    f[k2] = f0 - f2;
    f[0] = f0 + f2;
    f[k3] = f1 - f3;
    f[k1] = f1 + f3;
    float g1 = g[0] - g[k1];
    float g0 = g[0] + g[k1];
    float g3 = kSqrt2 * g[k3];
    float g2 = kSqrt2 * g[k2];
    g[k2] = g0 - g2;
    g[0] = g0 + g2;
    g[k3] = g1 - g3;
    g[k1] = g1 + g3;
}

// The twiddled butterflies of one block for indices i = 1 ... kx-1: f at
// b + i, g at b + k1 - i (the Hartley transform pairs frequency i with -i).
//
// The butterflies of one block are independent of each other, so they are
// computed four at a time: the four g quadruples are gathered into small local
// arrays in the order of i, and the arithmetic then runs over plain arrays that
// the compiler maps onto vector registers. Every value is computed by the same
// single-precision operations, in the same order, as one butterfly at a time.
void twiddledButterflies(float* block, int k1, int k2, int k3, int kx, const HartleyTwiddleTable::Stage& tw) {
    constexpr int W = 4;
    int i = 1;
    for (; i + W <= kx; i += W) {
        float* f = block + i;
        float* g = block + k1 - i - (W - 1);  // g of i + W - 1 ... g of i, ascending
        float F0[W], F1[W], F2[W], F3[W], G0[W], G1[W], G2[W], G3[W];
        for (int l = 0; l < W; ++l) {
            F0[l] = f[l];
            F1[l] = f[k1 + l];
            F2[l] = f[k2 + l];
            F3[l] = f[k3 + l];
            G0[l] = g[W - 1 - l];
            G1[l] = g[k1 + W - 1 - l];
            G2[l] = g[k2 + W - 1 - l];
            G3[l] = g[k3 + W - 1 - l];
        }
        const float* c1 = tw.c1 + i;
        const float* s1 = tw.s1 + i;
        const float* c2 = tw.c2 + i;
        const float* s2 = tw.s2 + i;
        float oF0[W], oF1[W], oF2[W], oF3[W], oG0[W], oG1[W], oG2[W], oG3[W];
        for (int l = 0; l < W; ++l) {
            float bp = s2[l] * F1[l] - c2[l] * G1[l];
            float a = c2[l] * F1[l] + s2[l] * G1[l];
            const float f1 = F0[l] - a;
            const float f0 = F0[l] + a;
            const float g1 = G0[l] - bp;
            const float g0 = G0[l] + bp;
            bp = s2[l] * F3[l] - c2[l] * G3[l];
            a = c2[l] * F3[l] + s2[l] * G3[l];
            const float f3 = F2[l] - a;
            const float f2 = F2[l] + a;
            const float g3 = G2[l] - bp;
            const float g2 = G2[l] + bp;
            bp = s1[l] * f2 - c1[l] * g3;
            a = c1[l] * f2 + s1[l] * g3;
            oF2[l] = f0 - a;
            oF0[l] = f0 + a;
            oG3[l] = g1 - bp;
            oG1[l] = g1 + bp;
            bp = c1[l] * g2 - s1[l] * f3;
            a = s1[l] * g2 + c1[l] * f3;
            oG2[l] = g0 - a;
            oG0[l] = g0 + a;
            oF3[l] = f1 - bp;
            oF1[l] = f1 + bp;
        }
        for (int l = 0; l < W; ++l) {
            f[l] = oF0[l];
            f[k1 + l] = oF1[l];
            f[k2 + l] = oF2[l];
            f[k3 + l] = oF3[l];
            g[W - 1 - l] = oG0[l];
            g[k1 + W - 1 - l] = oG1[l];
            g[k2 + W - 1 - l] = oG2[l];
            g[k3 + W - 1 - l] = oG3[l];
        }
    }
    for (; i < kx; ++i) {
        float* f = block + i;
        float* g = block + k1 - i;
        const float c1 = tw.c1[i];
        const float s1 = tw.s1[i];
        const float c2 = tw.c2[i];
        const float s2 = tw.s2[i];
        float bp = s2 * f[k1] - c2 * g[k1];
        float a = c2 * f[k1] + s2 * g[k1];
        const float f1 = f[0] - a;
        const float f0 = f[0] + a;
        const float g1 = g[0] - bp;
        const float g0 = g[0] + bp;
        bp = s2 * f[k3] - c2 * g[k3];
        a = c2 * f[k3] + s2 * g[k3];
        const float f3 = f[k2] - a;
        const float f2 = f[k2] + a;
        const float g3 = g[k2] - bp;
        const float g2 = g[k2] + bp;
        bp = s1 * f2 - c1 * g3;
        a = c1 * f2 + s1 * g3;
        f[k2] = f0 - a;
        f[0] = f0 + a;
        g[k3] = g1 - bp;
        g[k1] = g1 + bp;
        bp = c1 * g2 - s1 * f3;
        a = s1 * g2 + c1 * f3;
        g[k2] = g0 - a;
        g[0] = g0 + a;
        f[k3] = f1 - bp;
        f[k1] = f1 + bp;
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

    const bool oddBits = (bits & 1) != 0;
    if (oddBits)
        firstPassRadix8(x, n);
    else
        firstPassRadix4(x, n);
    if (n < 16) return true;

    // Radix-4 stages: each combines four transforms of k1 points into one of
    // k4 = 4 k1 points.
    int k = oddBits ? 1 : 0;
    int k4 = 0;
    do {
        k += 2;
        const int k1 = 1 << k;
        const int k2 = k1 << 1;
        const int k3 = k2 + k1;
        k4 = k2 << 1;
        const int kx = k1 >> 1;
        HartleyTwiddleTable::Stage tw;
        if (!HartleyTwiddleTable::stage(k, tw)) return false;
        for (int b = 0; b < n; b += k4) {
            untwiddledButterfly(x + b, x + b + kx, k1, k2, k3);
            twiddledButterflies(x + b, k1, k2, k3, kx, tw);
        }
    } while (k4 < n);
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
