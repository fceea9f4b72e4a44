#pragma once

#include "sdk/VstOffline.h"

#include <string>

namespace wowfix {

class HostPort;
class PvcCurve;

// The corrected copy (task mode 2): reads the source selection of the first
// record block by block, looks up the curve's speed ratio for every frame and
// resamples each channel along it into the new file of the second record.
//
// The records must be a source and a new file (count >= 2), the source must
// carry `curve` in plugOwned and have 1 or 2 channels, and both block sizes
// must be at least 1. Output goes to the host in writes of at most
// sizeOutputBuffer frames, whatever a block produces. On failure `message`
// says why and the frames already written stay in the new file.
bool runCorrection(HostPort& host, VstOfflineTask* tasks, int count, PvcCurve& curve,
                   std::string& message);

}  // namespace wowfix
