#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

class ToneTracker;
struct TaskContext;

// Task mode 4: streams the editor's file through the pilot-tone tracker and
// turns its output into the curve, redrawing the spectrogram on the way.
//
// Every 256 frames the tracker's speed ratio becomes a point (with thinning),
// moved back by the tracker's delay so that it lands on the frame it
// describes; the end point takes the last ratio computed, so a steady tail
// stays steady. The new curve is one undo step.
//
// Fails, leaving the curve and the store as they were, when the sample rate
// cannot hold a pilot, there is no tracker or the file is neither mono nor
// stereo. A failed host read restores the curve the user had before the run.
// The progress bar is hidden whatever the outcome.
bool runPilotToneTracking(TaskContext& context, VstOfflineTask& task, ToneTracker* tracker);

}  // namespace wowfix
