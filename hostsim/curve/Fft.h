#pragma once
// In-place radix-2 complex transform, N a power of two:
//     forward  X[k] = Σ x[n] e^(−2πi kn/N),   inverse  x[n] = (1/N) Σ X[k] e^(2πi kn/N).

#include <complex>
#include <vector>

namespace wowfix::curve {

// The smallest power of two ≥ n (at least 1).
std::size_t nextPowerOfTwo(std::size_t n);
// False (nothing done) when the size is not a power of two.
bool transform(std::vector<std::complex<double>>& data, bool inverse);
// The same transform for any length, through Bluestein's chirp: a
// convolution computed with power-of-two transforms.
void transformAnyLength(std::vector<std::complex<double>>& data, bool inverse);

}  // namespace wowfix::curve
