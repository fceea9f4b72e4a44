#pragma once
// An in-place radix-2 complex FFT (forward, no scaling):
//     X[k] = Σ_n x[n] · e^(−2πi·k·n/N),  N a power of two.

#include <complex>
#include <vector>

namespace wowfix::meter {

// False (and nothing done) when the size is not a power of two.
bool fft(std::vector<std::complex<double>>& data);

}  // namespace wowfix::meter
