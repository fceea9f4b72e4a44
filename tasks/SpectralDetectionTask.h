#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

class SDPvc;
struct EditArea;
struct TaskContext;

// Task mode 7 (the editor's "Preview"): runs the spectral-domain detector
// over the processing area the user marked, a stretch of the file and a
// frequency band, and writes its result into the curve inside the area only
// (SpectralAreaCurve). The mixed sample of mono and stereo files is analysed;
// the whole run is one undo step, and the area is remembered as the one the
// detector's result belongs to.
//
// Fails with a message, leaving the curve as it was, when there is no
// detector or no marked area, the area is shorter than one analysis frame or
// lies outside the file, its band is empty or above half the sampling rate,
// the file is neither mono nor stereo, a host read fails, or the area holds
// no partial the detector can follow.
bool runSpectralDetection(TaskContext& context, VstOfflineTask& task, SDPvc* detector, const EditArea& area);

// The editor's "Create PVC" with the spectral-domain detector: its result,
// re-combined under the present "Confidence", written into the area of the
// last preview, as one undo step of kind 2. Fails with a message when no
// preview has produced a result.
bool createSpectralPvc(TaskContext& context, SDPvc* detector);

}  // namespace wowfix
