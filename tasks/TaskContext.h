#pragma once

#include <string>

namespace wowfix {

class PvcCurve;
class SpectrogramStore;
class EditorPort;
class HostPort;

// The plug-in's state that the tasks read and update.
struct TaskState {
    std::string pvcPath;                // curve file the next acquisition loads
    bool pvcReady = false;              // the curve of this selection exists
    int channels = 1;                   // channels of the editor's file
    bool sampleRatePending = false;     // the store must take the file's rate
    bool settingsChanged = false;       // the editor changed FFT length/window
    bool acquireSnapshotPending = true;
    bool viewSnapshotPending = false;
    int spectralAreaStart = 0;          // the area of the spectral-domain
    int spectralAreaEnd = -1;           // detector's last result, samples
    std::string message;                // why the last task failed
};

// Everything a task works with besides its records.
struct TaskContext {
    PvcCurve& curve;
    SpectrogramStore& store;
    EditorPort& editor;
    HostPort& host;
    TaskState& state;
};

}  // namespace wowfix
