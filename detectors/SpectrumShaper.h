#pragma once

#include <vector>

namespace wowfix {

// Turns one analysis frame into the tracker's peak-sharpened spectrum:
//
//     S[k] = (|X[k]| * P[k])^4,   k = 0 .. K-1,   K = N/2 + 1,
//
// where X is the DFT of the Hann-windowed frame and P[k] = ((k + 1) / K)^e is the
// pre-emphasis that lifts the high bins where a pilot tone lives. Raising the
// weighted magnitude to the 4th power (squaring the power once more) makes a
// steady tone stand far above the noise around it.
//
// Tables are sized once for the largest length; configure only changes how much
// of them is used.
class SpectrumShaper {
public:
    static constexpr int maxLength = 8192;
    static constexpr int maxBins = maxLength / 2 + 1;
    static constexpr int maxExponent = 5;

    SpectrumShaper();

    // Builds the window for N points and the pre-emphasis for N/2 + 1 bins with
    // exponent e. Answers false, keeping the previous tables, unless N is a power
    // of two from 16 to maxLength and 1 <= e <= maxExponent.
    bool configure(int fftLength, int exponent);

    int fftLength() const { return fftLength_; }
    int bins() const { return fftLength_ / 2 + 1; }

    // work[i] = frame[i] * W[i] for i < N.
    void applyWindow(const float* frame, float* work) const;

    // S[k] from the output of HartleyTransform::realFft (DC in work[0], Nyquist
    // in work[N/2], real and imaginary parts of bin k in work[k] and work[N-k]).
    void shapeSpectrum(const float* work, double* spectrum) const;

private:
    std::vector<float> window_;              // Hann table W, N entries in use
    std::vector<double> preemphasisFourth_;  // P[k]^4, K entries in use
    int fftLength_ = 0;
    int exponent_ = 0;
};

}  // namespace wowfix
