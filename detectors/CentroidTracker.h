#pragma once

#include <optional>

namespace wowfix {

// The centre-of-gravity line follower: the user drags along one tonal line of
// the spectrogram, and the line's position in every dragged column, relative
// to its position in the first, is the speed ratio of the recording there
// (spectrogram bins are equally spaced in frequency, so a ratio of bins is a
// ratio of frequencies). Three pure functions over the store's power columns
// (squared magnitudes, indexed by transform bin); nothing is kept between
// calls.
//
// Every column holds `bins` values. A window reaching past the last stored
// bin sees zero power there; bins 0 and 1 never count. A window without
// power has no centre of gravity: the functions answer none instead of 0/0.

// Centre of gravity of one column between bins a and b (either order), as a
// fractional bin: the geometric mean of the bin numbers weighted by the power
// under a Hann window laid over log-frequency (1 at sqrt(lo * hi), 0 at both
// ends). A window of a single bin answers that bin when it has power.
std::optional<float> columnCentroid(const float* column, int bins, int a, int b);

// Second moment, in squared bins, of the squared power about `centre` between
// bins a and b, under a Hann window linear in bins; position k is paired with
// the value of bin k + 1. A single bin has no spread (0).
std::optional<float> centroidSpread(const float* column, int bins, float centre, int a, int b);

// Follows the line from column `startColumn` through |count| columns, to the
// right for count > 0 and to the left for count < 0, starting at bin
// `startBin`. `out` holds |count| values in ascending column order: column
// startColumn + i goes to out[i] to the right and to out[|count| - 1 + i] to
// the left (the start column is the last entry). The first column gets
// `scale` and every further one scale * (its centroid / the first column's).
//
// `level` (10 ... 20, clamped) is the tolerance: the line is lost where the
// spread within +-level bins exceeds 0.01 * level^3 squared bins, or where the
// column has no power in the window, and following stops there. Answers the
// signed number of columns followed; 0 when -1 <= count <= 1, when the line
// is lost in the first column, or for a scale that is not a positive number.
// The columns followed are clipped to 0 ... columnCount - 1 and the bins to
// 0 ... bins - 1, so nothing outside the table or `out` is read or written.
int trackCentroid(const float* const* columns, int columnCount, int bins, int startColumn, int count, int startBin,
                  float scale, float* out, int level);

}  // namespace wowfix
