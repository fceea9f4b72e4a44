#include "tools/meter/Fft.h"

#include <cmath>
#include <utility>

namespace wowfix::meter {

bool fft(std::vector<std::complex<double>>& data) {
    const std::size_t n = data.size();
    if (n == 0 || (n & (n - 1)) != 0) return false;
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * M_PI / static_cast<double>(length);
        for (std::size_t start = 0; start < n; start += length)
            for (std::size_t k = 0; k < length / 2; ++k) {
                // Each twiddle from its own angle keeps the error from growing along the stage.
                const std::complex<double> w = std::polar(1.0, angle * static_cast<double>(k));
                const std::complex<double> a = data[start + k];
                const std::complex<double> b = data[start + k + length / 2] * w;
                data[start + k] = a + b;
                data[start + k + length / 2] = a - b;
            }
    }
    return true;
}

}  // namespace wowfix::meter
