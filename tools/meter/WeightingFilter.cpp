#include "tools/meter/WeightingFilter.h"

#include <cmath>
#include <complex>

namespace wowfix::meter {

namespace {

constexpr double kPairHz = 0.45;
constexpr double kPairQ = 0.70;
constexpr double kHighPassHz = 1.55;
constexpr double kLowPassHz = 43.0;
constexpr double kShelfPoleHz = 8.5;
constexpr double kShelfZeroHz = 31.0;
constexpr double kReferenceHz = 4.0;

double omega(double hz) { return 2.0 * M_PI * hz; }

// The three sections of W(s) without G.
AnalogSection pairSection() {
    const double w1 = omega(kPairHz);
    return {0.0, 0.0, 1.0, w1 * w1, w1 / kPairQ, 1.0};
}
AnalogSection bandSection() {
    const double w2 = omega(kHighPassHz);
    const double w3 = omega(kLowPassHz);
    return {0.0, w3, 0.0, w2 * w3, w2 + w3, 1.0};
}
AnalogSection shelfSection() {
    const double wp = omega(kShelfPoleHz);
    const double wz = omega(kShelfZeroHz);
    return {wp, wp / wz, 0.0, wp, 1.0, 0.0};
}

std::complex<double> evaluate(const AnalogSection& a, double hz) {
    const std::complex<double> s(0.0, omega(hz));
    return (a.b0 + a.b1 * s + a.b2 * s * s) / (a.a0 + a.a1 * s + a.a2 * s * s);
}

std::complex<double> unscaledResponse(double hz) {
    return evaluate(pairSection(), hz) * evaluate(bandSection(), hz) * evaluate(shelfSection(), hz);
}

}  // namespace

const WeightingPoint WeightingFilter::kTable[17] = {
    {0.1, -48.0, 10.0}, {0.2, -30.6, 4.0},  {0.315, -19.7, 2.0}, {0.4, -15.0, 2.0}, {0.63, -8.4, 2.0},
    {0.8, -6.0, 2.0},   {1.0, -4.2, 2.0},   {1.6, -1.8, 2.0},    {2.0, -0.9, 2.0},  {4.0, 0.0, 0.0},
    {6.3, -0.9, 2.0},   {10.0, -2.1, 2.0},  {20.0, -5.9, 2.0},   {40.0, -10.4, 2.0}, {63.0, -14.2, 2.0},
    {100.0, -17.3, 2.0}, {200.0, -23.0, 2.0},
};

double WeightingFilter::prototypeResponseDb(double hz) {
    return 20.0 * std::log10(std::abs(unscaledResponse(hz)) / std::abs(unscaledResponse(kReferenceHz)));
}

BiquadCascade WeightingFilter::create(double sampleRate) {
    AnalogSection shelf = shelfSection();
    const double gain = 1.0 / std::abs(unscaledResponse(kReferenceHz));
    shelf.b0 *= gain;
    shelf.b1 *= gain;
    return BiquadCascade({Biquad::bilinear(pairSection(), sampleRate), Biquad::bilinear(bandSection(), sampleRate),
                          Biquad::bilinear(shelf, sampleRate)});
}

}  // namespace wowfix::meter
