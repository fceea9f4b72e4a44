#pragma once

// A direct, unoptimised transcription of the radix-4 fast Hartley transform:
// counter-based bit reversal, twiddles by running rotation inside the stage,
// the twiddle index outermost. The library's transform precomputes and
// reorders all of this; its output must be bit-identical to this one.

#include <cmath>
#include <utility>

namespace wowfix::testing {

inline void referenceFht(float* x, int n) {
    static const float cosTable[16] = {0.0f, 0.70710678118654757274f, 0.92387953251128673848f,
        0.98078528040323043058f, 0.99518472667219692873f, 0.99879545620517240501f, 0.99969881869620424997f,
        0.99992470183914450299f, 0.99998117528260110909f, 0.99999529380957619118f, 0.99999882345170187925f,
        0.99999970586288222663f, 0.99999992646571789212f, 0.99999998161642933425f, 0.99999999540410733356f,
        0.99999999885102686115f};
    static const float sinTable[16] = {1.0f, 0.70710678118654746172f, 0.38268343236508978178f,
        0.19509032201612824808f, 0.09801714032956060363f, 0.04906767432741801493f, 0.02454122852291228812f,
        0.01227153828571992539f, 0.00613588464915447527f, 0.00306795676296597614f, 0.00153398018628476550f,
        0.00076699031874270449f, 0.00038349518757139556f, 0.00019174759731070329f, 0.00009587379909597734f,
        0.00004793689960306688f};
    const float sqrt2 = 1.4142135f;

    for (int k = 1, j = 0; k < n; ++k) {
        for (int m = n >> 1; m > 0; m >>= 1) {
            j ^= m;
            if (j & m) break;
        }
        if (k > j) std::swap(x[k], x[j]);
    }
    int bits = 0;
    while ((1 << bits) < n) ++bits;

    if ((bits & 1) == 0) {
        for (float* e = x; e < x + n; e += 4) {
            float f1 = e[0] - e[1], f0 = e[0] + e[1], f3 = e[2] - e[3], f2 = e[2] + e[3];
            e[2] = f0 - f2;
            e[0] = f0 + f2;
            e[3] = f1 - f3;
            e[1] = f1 + f3;
        }
    } else {
        for (float* e = x; e < x + n; e += 8) {
            float c1 = e[0] - e[1], s1 = e[0] + e[1], c2 = e[2] - e[3], s2 = e[2] + e[3];
            float c3 = e[4] - e[5], s3 = e[4] + e[5], c4 = e[6] - e[7], s4 = e[6] + e[7];
            float f1 = s1 - s2, f0 = s1 + s2, g1 = c1 - c2, g0 = c1 + c2;
            float f3 = s3 - s4, f2 = s3 + s4, g3 = sqrt2 * c4, g2 = sqrt2 * c3;
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
    if (n < 16) return;

    int k = (bits & 1) ? 1 : 0;
    int k4;
    do {
        k += 2;
        const int k1 = 1 << k, k2 = k1 << 1, k3 = k2 + k1, kx = k1 >> 1;
        k4 = k2 << 1;
        for (int b = 0; b < n; b += k4) {
            float* f = x + b;
            float* g = x + b + kx;
            float f1 = f[0] - f[k1], f0 = f[0] + f[k1], f3 = f[k2] - f[k3], f2 = f[k2] + f[k3];
            f[k2] = f0 - f2;
            f[0] = f0 + f2;
            f[k3] = f1 - f3;
            f[k1] = f1 + f3;
            float g1 = g[0] - g[k1], g0 = g[0] + g[k1], g3 = sqrt2 * g[k3], g2 = sqrt2 * g[k2];
            g[k2] = g0 - g2;
            g[0] = g0 + g2;
            g[k3] = g1 - g3;
            g[k1] = g1 + g3;
        }
        float c1 = 1.0f, s1 = 0.0f;
        for (int i = 1; i < kx; ++i) {
            const float t = c1;
            c1 = t * cosTable[k] - s1 * sinTable[k];
            s1 = t * sinTable[k] + s1 * cosTable[k];
            const float c2 = c1 * c1 - s1 * s1, s2 = 2.0f * c1 * s1;
            for (int b = 0; b < n; b += k4) {
                float* f = x + b + i;
                float* g = x + b + k1 - i;
                float bp = s2 * f[k1] - c2 * g[k1], a = c2 * f[k1] + s2 * g[k1];
                float f1 = f[0] - a, f0 = f[0] + a, g1 = g[0] - bp, g0 = g[0] + bp;
                bp = s2 * f[k3] - c2 * g[k3];
                a = c2 * f[k3] + s2 * g[k3];
                float f3 = f[k2] - a, f2 = f[k2] + a, g3 = g[k2] - bp, g2 = g[k2] + bp;
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
    } while (k4 < n);
}

}  // namespace wowfix::testing
