#include "host/TaskMode.h"

#include "sdk/VstOffline.h"

#include <cmath>

namespace wowfix {

int taskModeOf(float value) {
    // Compare before converting: a float outside int's range (or NaN) must
    // not reach the conversion.
    if (!(value >= 0.0f && value < 10.0f)) return kNoTask;
    return static_cast<int>(std::trunc(value));
}

const char* processNameOf(int mode) {
    switch (mode) {
        case kWholeFileAcquisition:
        case kPilotToneTracking:
        case kSpectralDetection:
        case kViewAcquisition:
            return "Varnel";
        case kCorrection:
            return "Tavelin";
        case kSetSelection:
            return "Set Cursor / Marker / Selection";
        default:
            return nullptr;
    }
}

VstInt32 fileFlagsOf(int mode) {
    switch (mode) {
        case kWholeFileAcquisition:
            return kVstOfflineCanProcessSelection | kVstOfflineWantRead | kVstOfflineNoChannelChange;
        case kViewAcquisition:
            return kVstOfflineCanProcessSelection | kVstOfflineWantRead | kVstOfflineWantMoveCursor |
                   kVstOfflineNoChannelChange | kVstOfflineWantSelect;
        case kLibraryDetection:
        case kPilotToneTracking:
        case kCentreOfGravity:
        case kSpectralDetection:
            return kVstOfflineCanProcessSelection | kVstOfflineWantRead;
        case kSetSelection:
            return kVstOfflineWantWriteMarker | kVstOfflineWantMoveCursor | kVstOfflineWantSelect;
        case kCorrection:
            return kVstOfflineWantRead;
        default:
            return 0;
    }
}

int restingModeAfter(int mode) { return mode == kSetSelection ? kWholeFileAcquisition : kCorrection; }

}  // namespace wowfix
