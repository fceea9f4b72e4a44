#include "tasks/BlockReader.h"

#include "tasks/HostPort.h"

#include <cmath>

namespace wowfix {

BlockReader::BlockReader(HostPort& host, VstOfflineTask& task) : host_(host), task_(task) {
    const double frames = task.numFramesToProcess;
    valid_ = task.sizeInputBuffer >= 1 && task.inputBuffer != nullptr && std::isfinite(frames) &&
             frames >= 0.0;
    total_ = valid_ ? std::floor(frames) : 0.0;
    remaining_ = total_;
}

bool BlockReader::readNext() {
    if (!valid_ || done()) return false;
    task_.progress = 1.0 - remaining_ / total_;
    const double block = static_cast<double>(task_.sizeInputBuffer);
    task_.readCount = static_cast<VstInt32>(block > remaining_ ? remaining_ : block);
    if (!host_.offlineRead(&task_, kVstOfflineAudio, true)) return false;
    remaining_ -= task_.readCount;
    return true;
}

}  // namespace wowfix
