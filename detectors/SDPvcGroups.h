#pragma once

#include "detectors/SDPvcTracks.h"

#include <functional>
#include <vector>

namespace wowfix {

// A stretch of consecutive frames on which a group has a frequency.
struct GroupSegment {
    int startFrame = 0;
    std::vector<float> smoothed;  // smooth5 of the frequencies, Hz
    std::vector<float> weight;    // support of the track each frame came from
    float median = 1.0f;          // median of `smoothed`

    int endFrame() const { return startFrame + static_cast<int>(smoothed.size()); }  // one past
    // The speed ratio of frame f (startFrame <= f < endFrame).
    float ratio(int f) const;
};

// The tracks that follow one tone through the area, as segments in frame
// order.
struct PartialGroup {
    std::vector<GroupSegment> segments;

    // The segment holding frame f, or nullptr.
    const GroupSegment* segmentAt(int f) const;
};

// y[0] = x[0]; y[1] = mean of x[0..2]; y[i] = mean of x[i-2..i+2];
// y[n-2] = mean of x[n-3..n-1]; y[n-1] = x[n-1]. Segments of one or two
// frames are copied as they are.
void smooth5(const float* x, float* y, int n);

// The element at index n div 2 of the values sorted ascending (the upper
// middle for even n); 1.0 for an empty list.
float upperMedian(std::vector<float> values);

// Gathers tracks into groups, each following one tone:
//   1. support = length / frames; tracks below 5 % take no part;
//   2. each track's frequencies as a distribution over 25 Hz bins (centres
//      25 j; a frequency goes to the first j with |trunc(f - 25 j)| <= 12.5);
//   3. by support, largest first, each unused track opens a group and takes
//      every unused track whose distribution overlaps the group's (the sum of
//      the products) by more than 0.05; the group's distribution becomes the
//      length-weighted mean of the two; on shared frames the later track's
//      frequency counts;
//   4. each frame gets the weight of the track its frequency came from: the
//      track's own support (the weight that says how well that frame is
//      attested), not that of the track that opened the group;
//   5. a segment is a run of consecutive frames whose frequency does not
//      step by more than both 1.5 bins and 3 % from frame to frame (such a
//      step is another note, not a speed change); each is smoothed (smooth5)
//      and divided by its median.
// `frequencyOfBin` turns a track's bin into Hz. Answers false when memory
// runs out (no groups then).
bool groupTracks(const std::vector<PartialTrack>& tracks, int frames,
                 const std::function<float(int)>& frequencyOfBin, std::vector<PartialGroup>& groups);

}  // namespace wowfix
