#pragma once
// How strongly one partial's own deviation swings at a singer's vibrato rate.
//
// The values are a partial's log frequency, one every `step` seconds (NaN
// where it was not measured). For every rate r from `low` to `high` Hz in
// steps of 0.25 Hz the least-squares fit
//
//     d(t) = m + k t + a cos(2 pi r t) + b sin(2 pi r t)
//
// (the slope takes a slow wow across the note) gives an amplitude
// sqrt(a^2 + b^2); the answer is the largest, never more than the largest
// |d - mean| (a track much shorter than a period cannot tell a swing from a
// bend, and its fit would run away). 0 for fewer than 4 values.

#include <vector>

namespace wowfix {

double periodicDeviation(const std::vector<double>& values, double step, double low = 4.0, double high = 8.0);

// Weight of a partial whose periodic deviation is `depth` when the others'
// is `limit`: 1 well below it, falling as (limit / depth)^4 above.
double steadinessWeight(double depth, double limit);

}  // namespace wowfix
