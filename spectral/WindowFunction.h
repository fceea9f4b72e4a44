#pragma once

namespace wowfix {

// Window functions that weight each analysis block before its transform.
//
// The tables carry the 1/n scaling of the transform, so a spectrum of a
// windowed block reads as an amplitude relative to the window's sum: boxcar
// sums to 2, Hann to about 0.5 and Blackman to about 0.42. Nothing equalises
// the levels between window types.
enum WindowType {
    kBoxcarWindow = 0,
    kHannWindow = 1,
    kBlackmanWindow = 2,
    kHammingWindow = 3,
};

constexpr int kMaxWindowType = kHammingWindow;

// The type actually used for a requested one: anything other than the defined
// types becomes Hann.
int effectiveWindowType(int requested);

// Coefficient i of an n-point table of the given type (n >= 2, 0 <= i < n):
//   boxcar:   1 / (n/2)
//   Hann:     0.5 (1 - cos(2 pi i / (n-1))) / n
//   Blackman: (0.42 - 0.5 cos(2 pi i / (n-1)) + 0.08 cos(4 pi i / (n-1))) / n
//   Hamming:  (0.54 - 0.46 cos(2 pi i / (n-1))) / n
// The cosines and their sum are evaluated in double precision with i taken as a
// single-precision value; the sum is rounded to single precision before the
// division by n. Answers 0 for arguments out of range.
float windowCoefficient(int type, int i, int n);

// Fills table[0 .. n-1] with the coefficients of effectiveWindowType(type).
// Answers false (and writes nothing) for a null table or n < 2.
bool fillWindow(int type, float* table, int n);

}  // namespace wowfix
