#include "tools/meter/FrequencyTrack.h"

#include <cmath>

#include "tools/meter/ToneDemodulator.h"

namespace wowfix::meter {

FrequencyTrack trackFrequency(const ToneDemodulator& demodulator, double toneHz) {
    FrequencyTrack track;
    const std::vector<std::complex<double>>& z = demodulator.output();
    track.rate = demodulator.outputRate();
    if (z.size() < 2) return track;
    track.startTime = 0.5 * (demodulator.outputTime(0) + demodulator.outputTime(1));
    track.hz.reserve(z.size() - 1);
    track.level.reserve(z.size() - 1);
    for (std::size_t m = 1; m < z.size(); ++m) {
        const double advance = std::arg(z[m] * std::conj(z[m - 1]));
        track.hz.push_back(toneHz + advance * track.rate / (2.0 * M_PI));
        track.level.push_back(std::abs(z[m]) + std::abs(z[m - 1]));  // 2 · mean of |z|
    }
    return track;
}

}  // namespace wowfix::meter
