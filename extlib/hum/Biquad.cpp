#include "extlib/hum/Biquad.h"

namespace wowfix::hum {

std::complex<double> BiquadCoefficients::response(double w) const {
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    return (b0 + b1 * z1 + b2 * z2) / (1.0 + a1 * z1 + a2 * z2);
}

}  // namespace wowfix::hum
