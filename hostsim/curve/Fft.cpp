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

}  // namespace wowfix::curve
