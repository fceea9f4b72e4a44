#include "hostsim/FileRecord.h"

#include <cmath>
#include <cstring>

namespace wowfix::hostsim {

bool selectionFits(const Selection& selection, double frames) {
    if (!std::isfinite(selection.start) || !std::isfinite(selection.length)) return false;
    if (selection.start != std::floor(selection.start) || selection.length != std::floor(selection.length))
        return false;
    return selection.start >= 0.0 && selection.length >= 0.0 && selection.start + selection.length <= frames;
}

VstAudioFile makeFileRecord(const AudioSource& source, const std::string& name, VstInt32 uniqueId,
                            const Selection& selection, double cursor) {
    VstAudioFile file;
    std::memset(&file, 0, sizeof(file));
    std::strncpy(file.name, name.c_str(), sizeof(file.name) - 1);
    file.uniqueId = uniqueId;
    file.sampleRate = source.sampleRate();
    file.numChannels = source.channels();
    file.numFrames = static_cast<double>(source.frames());
    file.editCursorPosition = cursor;
    file.selectionStart = selection.start;
    file.selectionSize = selection.length;
    const int channels = source.channels();
    file.selectedChannelsMask = channels >= 31 ? -1 : static_cast<VstInt32>((1u << channels) - 1u);
    file.timeRulerUnit = 0;
    file.tempo = 120.0;
    file.timeSigNumerator = 4;
    file.timeSigDenominator = 4;
    return file;
}

}  // namespace wowfix::hostsim
