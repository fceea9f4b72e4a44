#pragma once

namespace wowfix {

// In-place fast Hartley transform on single-precision arrays, and the four
// wrappers that turn it into forward and inverse real and complex Fourier
// transforms.
//
// The discrete Hartley transform of x[0 .. n-1] is
//     H[k] = sum_j x[j] * (cos(2 pi j k / n) + sin(2 pi j k / n)),
// a real-to-real transform that is its own inverse up to the factor n. Nothing
// here normalises: a forward transform followed by its inverse multiplies the
// data by n.
//
// Lengths must be powers of two from kMinLength to kMaxLength; every operation
// refuses (answers false and leaves the data untouched) any other length or a
// null array. The object keeps no state between calls, so one instance may be
// shared by any number of users on any threads; a transform's working space is
// an array per calling thread, kept for the thread's lifetime (at most
// kMaxLength floats).
class HartleyTransform {
public:
    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 1 << 17;

    HartleyTransform() = default;
    virtual ~HartleyTransform() = default;

    static bool isSupportedLength(int n);

    // H[k] = sum_j x[j] (cos(2 pi jk/n) + sin(2 pi jk/n)), in place.
    bool fht(float* x, int n) const;

    // Forward real DFT in place. x[0] is the DC term, x[n/2] the Nyquist term;
    // for 1 <= i < n/2, x[i] is the real part of bin i and x[n-i] the imaginary
    // part with the sign of the e^(+2 pi i jk/n) convention (the negated
    // imaginary part of the forward DFT). Power of bin i: x[i]^2 + x[n-i]^2.
    bool realFft(int n, float* x) const;

    // Inverse of realFft's layout back to n real samples (times n).
    bool realIfft(int n, float* x) const;

    // X[k] = sum_j (re[j] + i im[j]) e^(-2 pi i jk/n), in place.
    bool complexFft(int n, float* re, float* im) const;

    // x[j] = sum_k X[k] e^(+2 pi i jk/n), in place.
    bool complexIfft(int n, float* re, float* im) const;
};

}  // namespace wowfix
