#pragma once

namespace wowfix::hartley {

// The two orders in which the fast Hartley transform of n points (a power of
// two, 16 <= n <= 2^17) is carried out. Both compute every element with the
// same operations and give the same bits; they differ in memory traffic.

// Bit-reversal permutation by swaps, then every stage in place (any supported
// length, 4 <= n <= 2^17).
bool transformInPlace(float* x, int n);

// The permutation folded into the early stages, which read x in its natural
// order and write the permuted, partly transformed array to `scratch` (n
// floats, not overlapping x); the last stage writes the result back into x.
bool transformThroughScratch(float* x, int n, float* scratch);

}  // namespace wowfix::hartley
