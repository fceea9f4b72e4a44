#include "tools/meter/KaiserLowPass.h"

#include <cmath>

namespace wowfix::meter {

double besselI0(double x) {
    // Σ_k ((x/2)^k / k!)², summed until the terms no longer count.
    double sum = 1.0;
    double term = 1.0;
    const double half = 0.5 * x;
    for (int k = 1; k < 500; ++k) {
        term *= (half / k) * (half / k);
        sum += term;
        if (term < 1e-17 * sum) break;
    }
    return sum;
}

std::vector<double> kaiserLowPass(double passHz, double stopHz, double attenuationDb, double sampleRate) {
    const double transition = 2.0 * M_PI * (stopHz - passHz) / sampleRate;
    int length = static_cast<int>(std::ceil((attenuationDb - 8.0) / (2.285 * transition))) + 1;
    if (length % 2 == 0) ++length;
    const double beta = attenuationDb > 50.0 ? 0.1102 * (attenuationDb - 8.7)
                                             : 0.5842 * std::pow(attenuationDb - 21.0, 0.4) +
                                                   0.07886 * (attenuationDb - 21.0);
    const double cutoff = 0.5 * (passHz + stopHz) / sampleRate;  // cycles per sample
    const int middle = (length - 1) / 2;
    const double norm = besselI0(beta);
    std::vector<double> taps(static_cast<std::size_t>(length));
    double sum = 0.0;
    for (int n = 0; n < length; ++n) {
        const double k = n - middle;
        const double ideal = k == 0 ? 2.0 * cutoff : std::sin(2.0 * M_PI * cutoff * k) / (M_PI * k);
        const double r = k / middle;
        const double window = besselI0(beta * std::sqrt(std::fmax(0.0, 1.0 - r * r))) / norm;
        sum += taps[static_cast<std::size_t>(n)] = ideal * window;
    }
    for (double& t : taps) t /= sum;
    return taps;
}

}  // namespace wowfix::meter
