#pragma once

namespace wowfix {

// Peak search on a non-negative spectrum. Ranges are inclusive bin indexes; the
// caller keeps them inside the array.

// The bin of the largest value in [from, to]; among equal maxima the lowest bin.
// -1 when the range is empty or holds nothing above 0 (silence).
int findPeak(const double* spectrum, int from, int to);

// From bin `start` (inside [from, to]), steps to the higher neighbour while
// there is one, and answers the local maximum reached.
int climbToPeak(const double* spectrum, int start, int from, int to);

// Centre of gravity sum(k S[k]) / sum(S[k]) over the bins within `radius` of
// `peak`, cut to [from, to]; `peak` itself when that part holds nothing above 0.
// For a steady tone this is the tone's bin position to a small fraction of a bin
// wherever the tone lies between two bins, and it is the same in every frame.
double localCentroid(const double* spectrum, int peak, int radius, int from, int to);

// Whether the peak stands out of its surroundings: spectrum[peak] is at least
// `contrast` times the median of the bins within `radius` of it (cut to
// [from, to]; radius at most maxContrastRadius). A tone stands out by many
// orders of magnitude in a 4th-power spectrum, a noise peak does not.
constexpr int maxContrastRadius = 32;
bool standsOut(const double* spectrum, int peak, int radius, int from, int to, double contrast);

}  // namespace wowfix
