#include "hostsim/curve/Fft.h"

#include <cmath>
#include <utility>

namespace wowfix::curve {

std::size_t nextPowerOfTwo(std::size_t n) {
    std::size_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

bool transform(std::vector<std::complex<double>>& x, bool inverse) {
    const std::size_t n = x.size();
    if (n == 0 || (n & (n - 1)) != 0) return false;
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    const double sign = inverse ? 1.0 : -1.0;
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = sign * 2.0 * M_PI / static_cast<double>(len);
        const std::complex<double> turn(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> a = x[i + k];
                const std::complex<double> b = x[i + k + len / 2] * w;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
                w *= turn;
            }
        }
    }
    if (inverse)
        for (auto& v : x) v /= static_cast<double>(n);
    return true;
}

void transformAnyLength(std::vector<std::complex<double>>& x, bool inverse) {
    const std::size_t n = x.size();
    if (n == 0 || transform(x, inverse)) return;
    // nk = (n² + k² − (k − n)²) / 2: X[k] = w[k]* Σ (x[n] w[n]*) w[k − n], w[m] = e^(±iπ m²/N).
    const double sign = inverse ? 1.0 : -1.0;
    std::vector<std::complex<double>> chirp(n);
    for (std::size_t m = 0; m < n; ++m) {
        const double angle = sign * M_PI * static_cast<double>((m * m) % (2 * n)) / static_cast<double>(n);
        chirp[m] = std::complex<double>(std::cos(angle), std::sin(angle));
    }
    const std::size_t size = nextPowerOfTwo(2 * n - 1);
    std::vector<std::complex<double>> a(size, 0.0), b(size, 0.0);
    for (std::size_t m = 0; m < n; ++m) a[m] = x[m] * chirp[m];
    b[0] = std::conj(chirp[0]);
    for (std::size_t m = 1; m < n; ++m) b[m] = b[size - m] = std::conj(chirp[m]);
    transform(a, false);
    transform(b, false);
    for (std::size_t m = 0; m < size; ++m) a[m] *= b[m];
    transform(a, true);
    for (std::size_t k = 0; k < n; ++k) x[k] = a[k] * chirp[k] / (inverse ? static_cast<double>(n) : 1.0);
}

}  // namespace wowfix::curve
