#include "tools/meter/ToneFinder.h"

#include <cmath>
#include <complex>

#include "tools/meter/Fft.h"

namespace wowfix::meter {

double strongestTone(const std::vector<float>& samples, double sampleRate, double lowHz, double highHz) {
    std::size_t n = 1;
    while (n * 2 <= samples.size()) n *= 2;
    if (n < 16) return 0.0;
    const std::size_t offset = (samples.size() - n) / 2;
    std::vector<std::complex<double>> spectrum(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / static_cast<double>(n));
        spectrum[i] = w * samples[offset + i];
    }
    fft(spectrum);
    const double binHz = sampleRate / static_cast<double>(n);
    const std::size_t first = static_cast<std::size_t>(std::ceil(lowHz / binHz));
    const std::size_t last = static_cast<std::size_t>(std::floor(highHz / binHz));
    std::size_t best = 0;
    double bestPower = 0.0;
    for (std::size_t k = std::max<std::size_t>(first, 1); k <= last && k + 1 < n / 2; ++k) {
        const double power = std::norm(spectrum[k]);
        if (power > bestPower) {
            bestPower = power;
            best = k;
        }
    }
    if (best == 0) return 0.0;
    const double left = std::log(std::norm(spectrum[best - 1]) + 1e-300);
    const double centre = std::log(bestPower);
    const double right = std::log(std::norm(spectrum[best + 1]) + 1e-300);
    const double curvature = left - 2.0 * centre + right;
    const double shift = curvature < 0.0 ? 0.5 * (left - right) / curvature : 0.0;
    return (static_cast<double>(best) + shift) * binHz;
}

}  // namespace wowfix::meter
