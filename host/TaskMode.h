#pragma once

#include "sdk/VstTypes.h"

namespace wowfix {

// The offline task modes: the whole-number part of the plug-in's parameter.
enum TaskModeNumber : int {
    kNoTask = 0,
    kWholeFileAcquisition = 1,
    kCorrection = 2,
    kLibraryDetection = 3,
    kPilotToneTracking = 4,
    kCentreOfGravity = 5,
    kIdleMode = 6,
    kSpectralDetection = 7,
    kViewAcquisition = 8,
    kSetSelection = 9,
};

// The mode a parameter value selects: truncated toward zero; a value that
// is not finite or lies outside the table's range gives kNoTask.
int taskModeOf(float value);

// The process name a task of this mode shows, or nullptr for none.
const char* processNameOf(int mode);

// The flags the editor adds to the host's file record when it starts a task
// of this mode.
VstInt32 fileFlagsOf(int mode);

// The mode the editor returns to once a task of this mode was started.
int restingModeAfter(int mode);

}  // namespace wowfix
