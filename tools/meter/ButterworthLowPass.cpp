#include "tools/meter/ButterworthLowPass.h"

#include <cmath>

namespace wowfix::meter {

BiquadCascade butterworthLowPass(int order, double cutoffHz, double sampleRate) {
    const double warped = 2.0 * sampleRate * std::tan(M_PI * cutoffHz / sampleRate);
    std::vector<Biquad> sections;
    for (int k = 1; k <= order / 2; ++k) {
        const double q = 1.0 / (2.0 * std::sin((2.0 * k - 1.0) * M_PI / (2.0 * order)));
        const AnalogSection s{warped * warped, 0.0, 0.0, warped * warped, warped / q, 1.0};
        sections.push_back(Biquad::bilinear(s, sampleRate));
    }
    return BiquadCascade(std::move(sections));
}

}  // namespace wowfix::meter
