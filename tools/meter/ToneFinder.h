#pragma once
// Finds the strongest steady tone in a stretch of audio: the highest peak of
// a Hann-windowed power spectrum within a frequency range, refined by a
// parabola through the logarithms of the peak bin and its neighbours.

#include <vector>

namespace wowfix::meter {

// The tone's frequency in Hz, or 0 when the range holds no spectrum bin or
// the samples are silent.
double strongestTone(const std::vector<float>& samples, double sampleRate, double lowHz, double highHz);

}  // namespace wowfix::meter
