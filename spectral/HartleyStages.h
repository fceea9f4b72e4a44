#pragma once

namespace wowfix::hartley {

// The two orders in which the fast Hartley transform of n points (a power of
// two, 16 <= n <= 2^17) is carried out. Both compute every element with the
// same operations and give the same bits; they differ in memory traffic.

// Bit-reversal permutation by swaps, then every stage in place (any supported
// length, 4 <= n <= 2^17).
bool transformInPlace(float* x, int n);

// What the last stage writes: the Hartley spectrum, or the real-spectrum
// layout of HartleyTransform::realFft, (H[j] + H[n-j]) / 2 at j and
// (H[j] - H[n-j]) / 2 at n - j for 0 < j < n / 2.
enum class Output { hartley, realSpectrum };

// The permutation folded into the early stages, which read x in its natural
// order and write the permuted, partly transformed array to `scratch` (n
// floats, not overlapping x); the last stage writes the result back into x.
bool transformThroughScratch(float* x, int n, float* scratch, Output output);

}  // namespace wowfix::hartley
