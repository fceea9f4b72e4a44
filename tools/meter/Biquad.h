#pragma once
// Second-order IIR sections and the bilinear transform that makes them from
// analogue prototypes.
//
// An analogue section H(s) = (b0 + b1·s + b2·s²) / (a0 + a1·s + a2·s²) maps
// to z by s = k·(1 − z⁻¹)/(1 + z⁻¹), k = 2·fs, which places the analogue
// response at f_a on the digital frequency f_d with
// f_a = (fs/π)·tan(π·f_d/fs): below fs/20 the two differ by less than 1 %.

#include <vector>

namespace wowfix::meter {

struct AnalogSection {
    double b0, b1, b2;  // numerator:   b0 + b1·s + b2·s²
    double a0, a1, a2;  // denominator: a0 + a1·s + a2·s²
};

// Transposed direct form II: y = b0·x + s1; s1 = b1·x − a1·y + s2; s2 = b2·x − a2·y.
class Biquad {
public:
    Biquad(double b0, double b1, double b2, double a1, double a2);
    static Biquad bilinear(const AnalogSection& section, double sampleRate);

    double process(double x);
    void reset() { s1_ = s2_ = 0.0; }

private:
    double b0_, b1_, b2_, a1_, a2_;
    double s1_ = 0.0, s2_ = 0.0;
};

class BiquadCascade {
public:
    BiquadCascade() = default;
    explicit BiquadCascade(std::vector<Biquad> sections) : sections_(std::move(sections)) {}

    double process(double x);
    void reset();
    // Runs the whole signal through the cascade in place.
    void run(std::vector<double>& signal);

private:
    std::vector<Biquad> sections_;
};

}  // namespace wowfix::meter
