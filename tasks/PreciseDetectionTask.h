#pragma once

#include "sdk/VstOffline.h"

#include <cstdint>

namespace wowfix {

class PreciseDetector;
struct TaskContext;

// The pilot-tone and spectral-domain tasks with a precise detector: the
// editor's selection is read twice, the first time to let the detector look
// at the start of the run (where the pilot is found), the second time through
// the detector and into the spectrogram. Then the curve gets a point every
// 256 frames with the detector's speed ratio there, nothing thinned, and the
// new curve is one undo step of `undoKind`, as with the detectors it stands
// in for.
//
// Fails, leaving the curve as it was and the reason as the message, when the
// detector refuses the run, there is no detector, or the file is neither mono
// nor stereo. When stretches of the curve were bridged (a pilot dropout), the
// message says how many even though the task succeeded.
bool runPreciseDetection(TaskContext& context, VstOfflineTask& task, PreciseDetector* detector,
                         std::int32_t undoKind);

}  // namespace wowfix
