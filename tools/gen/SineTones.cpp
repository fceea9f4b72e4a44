#include "tools/gen/SineTones.h"

#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

double sineOfCycles(double frequency, double tau) {
    const double cycles = frequency * tau;
    return std::sin(kTwoPi * (cycles - std::floor(cycles)));
}

SineTones::SineTones(std::vector<Tone> tones, int channels) : tones_(std::move(tones)), channels_(channels) {}

double SineTones::value(double tau) const {
    double sum = 0.0;
    for (const Tone& tone : tones_) sum += tone.amplitude * sineOfCycles(tone.frequency, tau);
    return sum;
}

void SineTones::addFrame(double tau, double* frame) const {
    const double v = value(tau);
    for (int c = 0; c < channels_; ++c) frame[c] += v;
}

}  // namespace wowfix::gen
