#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

struct TaskContext;

// The spectrogram pass. Mode 1 reads the whole file and resets the editor's
// view to it; mode 8 reads the range the editor's view asks for, first moving
// the host's edit cursor and selection there. Every sample goes into the
// spectrogram store, every completed column is drawn at once, and at the end
// the curve of the range exists (loaded from the waiting curve file, or flat)
// and is laid out over the new picture.
//
// Audio is mixed from the record's own channel count: one channel as it is,
// two as their mean, any other count feeds nothing (the blocks are still
// read and the curve is still finished). A failed host read answers false at
// once, leaving the curve untouched.
bool runWholeFileAcquisition(TaskContext& context, VstOfflineTask& task);
bool runViewAcquisition(TaskContext& context, VstOfflineTask& task);

}  // namespace wowfix
