#pragma once
// The host's description of its open audio file as a plug-in sees it.

#include "hostsim/AudioSource.h"
#include "sdk/VstOffline.h"

#include <string>

namespace wowfix::hostsim {

// A range of frames of the file.
struct Selection {
    double start = 0.0;
    double length = 0.0;
};

// Whether `selection` is a whole-frame range inside a file of `frames`.
bool selectionFits(const Selection& selection, double frames);

// The VstAudioFile record of `source`: identity, rate, channels, length, edit
// cursor, selection (all channels selected). The name keeps at most 99 bytes.
VstAudioFile makeFileRecord(const AudioSource& source, const std::string& name, VstInt32 uniqueId,
                            const Selection& selection, double cursor);

}  // namespace wowfix::hostsim
