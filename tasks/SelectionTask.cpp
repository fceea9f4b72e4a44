#include "tasks/SelectionTask.h"

#include "tasks/HostPort.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

bool runSelectionTask(HostPort& host, VstOfflineTask& task, double selectionStart, double selectionEnd) {
    if (!host.offlineRead(&task, kVstOfflineSelection, true)) return true;
    const double fileLength = std::isfinite(task.numFramesInSourceFile) ? std::max(task.numFramesInSourceFile, 0.0) : 0.0;
    double start = std::isfinite(selectionStart) ? std::max(selectionStart, 0.0) : 0.0;
    double length = std::isfinite(selectionEnd) ? std::max(selectionEnd - start, 0.0) : 0.0;
    if (start + length > fileLength) {
        start = 0.0;
        length = std::min(length, fileLength);
    }
    task.positionToProcessFrom = start;
    task.numFramesToProcess = length;
    task.index = -1;
    host.offlineWrite(&task, kVstOfflineSelection);
    return true;
}

}  // namespace wowfix
