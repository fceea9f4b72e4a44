#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

class ProcessingLibrary;
struct TaskContext;

// Task mode 3: streams the editor's file through the processing library in
// blocks of 8192 frames and turns its ratios into a new curve (a point every
// 256 frames, moved back by the library's delay), redrawing the spectrogram
// on the way. The new curve is one undo step. Fails, leaving curve and store
// as they were, without an instance or for a file that is neither mono nor
// stereo; a failed host read restores the curve the user had.
bool runLibraryDetection(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library);

// Its run-time-library variant: first a spectrogram of the signal as
// Zendral's "plugin_preprocess" gives it (transform length 128), then a
// fresh instance detects the curve as above and the band of parameters 3
// and 4 is marked over it. Fails with a message when there is no instance,
// Zendral offers no "plugin_preprocess" or the instance cannot be made again.
bool runRuntimeLibraryDetection(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library);

}  // namespace wowfix
