#pragma once

#include "spectral/HartleyTwiddleTable.h"

namespace wowfix::hartley {

// The butterflies of the radix-4 fast Hartley transform, written once for an
// element type T that is either float or Float4. With Float4 every lane runs
// the scalar operations of its own, independent transform, so both produce
// the same bits. Scalar twiddles (W = float) are applied to every lane.

constexpr float kSqrt2 = 1.4142135f;

// First pass, log2 n even: 4-point Hartley transforms of consecutive groups.
template <class T>
void firstPassRadix4(T* x, int n) {
    for (int b = 0; b < n; b += 4) {
        T* e = x + b;
        const T f1 = e[0] - e[1];
        const T f0 = e[0] + e[1];
        const T f3 = e[2] - e[3];
        const T f2 = e[2] + e[3];
        e[2] = f0 - f2;
        e[0] = f0 + f2;
        e[3] = f1 - f3;
        e[1] = f1 + f3;
    }
}

// First pass, log2 n odd: 8-point Hartley transforms of consecutive groups.
// The even elements are f1 ... f4 and the odd ones g1 ... g4.
template <class T>
void firstPassRadix8(T* x, int n) {
    for (int b = 0; b < n; b += 8) {
        T* e = x + b;
        const T c1 = e[0] - e[1];
        const T s1 = e[0] + e[1];
        const T c2 = e[2] - e[3];
        const T s2 = e[2] + e[3];
        const T c3 = e[4] - e[5];
        const T s3 = e[4] + e[5];
        const T c4 = e[6] - e[7];
        const T s4 = e[6] + e[7];
        const T f1 = s1 - s2;
        const T f0 = s1 + s2;
        const T g1 = c1 - c2;
        const T g0 = c1 + c2;
        const T f3 = s3 - s4;
        const T f2 = s3 + s4;
        const T g3 = kSqrt2 * c4;
        const T g2 = kSqrt2 * c3;
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

// The butterflies of one block of a radix-4 stage, on values: f[m] and g[m]
// are the elements at offsets 0, k1, 2 k1 and 3 k1 of the pair (i, k1 - i).

// i = 0, where f is index 0 and g index kx, rotated by 0 and 45 degrees.
template <class T>
inline void plainButterfly(T (&f)[4], T (&g)[4]) {
    const T f1 = f[0] - f[1];
    const T f0 = f[0] + f[1];
    const T f3 = f[2] - f[3];
    const T f2 = f[2] + f[3];
    f[2] = f0 - f2;
    f[0] = f0 + f2;
    f[3] = f1 - f3;
    f[1] = f1 + f3;
    const T g1 = g[0] - g[1];
    const T g0 = g[0] + g[1];
    const T g3 = kSqrt2 * g[3];
    const T g2 = kSqrt2 * g[2];
    g[2] = g0 - g2;
    g[0] = g0 + g2;
    g[3] = g1 - g3;
    g[1] = g1 + g3;
}

// 1 <= i < kx: (c1, s1) rotates by i times the stage angle, (c2, s2) by twice that.
template <class T, class W>
inline void rotatedButterfly(T (&f)[4], T (&g)[4], W c1, W s1, W c2, W s2) {
    T bp = s2 * f[1] - c2 * g[1];
    T a = c2 * f[1] + s2 * g[1];
    const T f1 = f[0] - a;
    const T f0 = f[0] + a;
    const T g1 = g[0] - bp;
    const T g0 = g[0] + bp;
    bp = s2 * f[3] - c2 * g[3];
    a = c2 * f[3] + s2 * g[3];
    const T f3 = f[2] - a;
    const T f2 = f[2] + a;
    const T g3 = g[2] - bp;
    const T g2 = g[2] + bp;
    bp = s1 * f2 - c1 * g3;
    a = c1 * f2 + s1 * g3;
    f[2] = f0 - a;
    f[0] = f0 + a;
    g[3] = g1 - bp;
    g[1] = g1 + bp;
    bp = c1 * g2 - s1 * f3;
    a = s1 * g2 + c1 * f3;
    g[2] = g0 - a;
    g[0] = g0 + a;
    f[3] = f1 - bp;
    f[1] = f1 + bp;
}

// The real-spectrum layout pairs index j with n - j: low = (a + b) / 2 and
// high = (a - b) / 2 from a at j and b at n - j, 0 < j < n / 2.
template <class T>
inline void splitRealPair(T& low, T& high) {
    const T a = low;
    const T b = high;
    high = (a - b) * 0.5f;
    low = (a + b) * 0.5f;
}

// In the last stage (k4 = n) both partners of every output of a butterfly
// come from the same butterfly, so the split is applied on its values. For
// i >= 1, n - (i + m k1) = (k1 - i) + (3 - m) k1: f[m] pairs with g[3 - m].
template <class T>
inline void splitRealSpectrumRotated(T (&f)[4], T (&g)[4]) {
    splitRealPair(f[0], g[3]);
    splitRealPair(f[1], g[2]);
    splitRealPair(g[0], f[3]);
    splitRealPair(g[1], f[2]);
}

// For i = 0, f[0] (DC) and f[2] (Nyquist) stay; f[1] pairs with f[3], and g,
// at kx + m k1, with g[3 - m].
template <class T>
inline void splitRealSpectrumPlain(T (&f)[4], T (&g)[4]) {
    splitRealPair(f[1], f[3]);
    splitRealPair(g[0], g[3]);
    splitRealPair(g[1], g[2]);
}

// The same, one butterfly at a time from the block at `src` into the block at
// `dst` (which may be the same): pair (0, kx) for i = 0, else (i, k1 - i).
template <class T>
inline void blockButterfly(const T* src, T* dst, int i, int k1, const HartleyTwiddleTable::Stage& tw) {
    const int fi = i;
    const int gi = i == 0 ? k1 >> 1 : k1 - i;
    T f[4], g[4];
    for (int m = 0; m < 4; ++m) {
        f[m] = src[fi + m * k1];
        g[m] = src[gi + m * k1];
    }
    if (i == 0)
        plainButterfly(f, g);
    else
        rotatedButterfly(f, g, tw.c1[i], tw.s1[i], tw.c2[i], tw.s2[i]);
    for (int m = 0; m < 4; ++m) {
        dst[fi + m * k1] = f[m];
        dst[gi + m * k1] = g[m];
    }
}

// Everything after the bit-reversal permutation, for an n-point transform on
// an array of T: the first pass, then the radix-4 stages, each combining four
// transforms of k1 points into one of k4 = 4 k1 points. Answers false when a
// twiddle table is missing.
template <class T>
bool combineAllStages(T* x, int n, int bits) {
    const bool oddBits = (bits & 1) != 0;
    if (oddBits)
        firstPassRadix8(x, n);
    else
        firstPassRadix4(x, n);
    if (n < 16) return true;
    int k = oddBits ? 1 : 0;
    int k4 = 0;
    do {
        k += 2;
        const int k1 = 1 << k;
        const int kx = k1 >> 1;
        k4 = k1 << 2;
        HartleyTwiddleTable::Stage tw;
        if (!HartleyTwiddleTable::stage(k, tw)) return false;
        for (int b = 0; b < n; b += k4) {
            blockButterfly(x + b, x + b, 0, k1, tw);
            for (int i = 1; i < kx; ++i) blockButterfly(x + b, x + b, i, k1, tw);
        }
    } while (k4 < n);
    return true;
}

}  // namespace wowfix::hartley
