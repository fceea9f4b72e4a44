#include "tasks/AcquisitionTask.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "sdk/StringCopy.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/BlockReader.h"
#include "tasks/EditorPort.h"
#include "tasks/HostPort.h"
#include "tasks/StreamingTaskParts.h"
#include "tasks/TaskContext.h"

#include <climits>
#include <cmath>

namespace wowfix {
namespace {

enum class SnapshotRule { wholeFile, view };

int framesAsInt(double frames) {
    if (!(frames > 0.0)) return 0;
    return frames >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(frames);
}

void feedBlock(TaskContext& context, const VstOfflineTask& task) {
    const int channels = task.numSourceChannels;
    if (channels != 1 && channels != 2) return;
    float* const* inputs = static_cast<float* const*>(task.inputBuffer);
    const float* left = inputs[0];
    const float* right = channels == 2 ? inputs[1] : nullptr;
    if (left == nullptr || (channels == 2 && right == nullptr)) return;
    for (int i = 0; i < task.readCount; ++i) {
        const float x = right == nullptr
                            ? left[i]
                            : static_cast<float>((static_cast<double>(left[i]) + right[i]) * 0.5);
        offerSample(context.store, context.editor, x);
    }
}

bool readAll(TaskContext& context, VstOfflineTask& task) {
    BlockReader reader(context.host, task);
    if (!reader.valid()) {
        context.state.message = "The host gave no usable audio buffers.";
        return false;
    }
    while (!reader.done()) {
        if (!reader.readNext()) {
            context.state.message = "The host could not read the audio.";
            return false;
        }
        feedBlock(context, task);
    }
    return true;
}

void layoutCurve(TaskContext& context, int a, int b) {
    const EditorView& view = context.editor.view();
    context.curve.setView(view.panelWidth - 2, view.panelHeight - 1, a, b);
    context.curve.layout(context.store);
    context.editor.drawCurve();
}

// An imported curve file replaces the curve only when it could be read; the
// import is then one undo step, recorded once its snapshot is written.
void importCurve(TaskContext& context, int a, int b, int n) {
    TaskState& state = context.state;
    PvcCurve& curve = context.curve;
    state.viewSnapshotPending = false;
    state.pvcReady = true;
    const PvcCurve kept = curve;
    curve.setLength(n);
    if (state.pvcPath.empty() || !curve.loadPvc(state.pvcPath, false, false)) {
        curve = kept;
        state.message = "The curve file \"" + state.pvcPath + "\" could not be read; the curve is kept.";
        layoutCurve(context, a, b);
        return;
    }
    layoutCurve(context, a, b);
    UndoHistory* history = context.editor.undoHistory();
    if (history != nullptr)
        recordNewCurve(curve, *history, undoKindImported);
    else
        curve.saveSnapshot();
}

void finishCurve(TaskContext& context, int a, int b, int n, SnapshotRule rule) {
    TaskState& state = context.state;
    PvcCurve& curve = context.curve;
    if (rule == SnapshotRule::view && state.viewSnapshotPending && !state.pvcReady) {
        importCurve(context, a, b, n);
        return;
    }
    if (!state.pvcReady) {
        // The loader completes the curve up to `length`, so it must be the
        // range's length before the load.
        curve.setLength(n);
        if (state.pvcPath.empty() || !curve.loadPvc(state.pvcPath, false, false)) curve.initFlat(n);
        if (rule == SnapshotRule::wholeFile || !state.viewSnapshotPending) curve.setLength(n);
    }
    layoutCurve(context, a, b);
    if (state.pvcReady) return;
    state.pvcReady = true;
    if (rule == SnapshotRule::wholeFile) {
        if (state.acquireSnapshotPending)
            curve.saveSnapshot();
        else
            state.acquireSnapshotPending = true;
    } else if (state.viewSnapshotPending) {
        curve.saveSnapshot();
        state.viewSnapshotPending = false;
    }
}

void prepareStoreRun(TaskContext& context, int n) {
    context.store.layoutColumns(0, n, n);
    context.editor.frequencyViewChanged();
}

bool checkLength(TaskContext& context, double frames) {
    if (std::isfinite(frames) && frames >= 0.0 && frames <= static_cast<double>(INT_MAX)) return true;
    context.state.message = "The file is too long for the spectrogram.";
    return false;
}

}  // namespace

bool runWholeFileAcquisition(TaskContext& context, VstOfflineTask& task) {
    if (!checkLength(context, task.numFramesInSourceFile)) return false;
    copyText(task.progressText, "Drawing...", sizeof task.progressText);
    SpectrogramStore& store = context.store;
    store.setSampleRate(std::trunc(static_cast<float>(task.sourceSampleRate)));
    store.resetFrequencyZoom();

    task.readPosition = 0;
    task.writePosition = 0;
    task.positionToProcessFrom = 0;
    task.numFramesToProcess = task.numFramesInSourceFile;
    const int n = framesAsInt(task.numFramesInSourceFile);

    EditorView& view = context.editor.view();
    view.viewOrigin = 0;
    view.viewLength = n;
    view.rangeStart = 0;
    view.rangeEnd = n;
    view.timeCentre = std::trunc(n / 2.0);
    view.timeHalfSpan = view.timeCentre;
    view.totalSamples = std::trunc(task.numFramesInSourceFile);
    context.editor.timeViewChanged();
    prepareStoreRun(context, n);

    if (!readAll(context, task)) return false;
    finishCurve(context, 0, n, n, SnapshotRule::wholeFile);
    return true;
}

bool runViewAcquisition(TaskContext& context, VstOfflineTask& task) {
    if (!checkLength(context, task.numFramesInSourceFile)) return false;
    EditorView& view = context.editor.view();
    double a = view.viewOrigin + view.rangeStart;
    double b = view.viewOrigin + view.rangeEnd;
    const double fileEnd = task.numFramesInSourceFile;
    // A range the file does not hold (empty, reversed, past the end) is the
    // whole file, as an empty request is.
    if (!(b > a) || !(a >= 0.0) || b > fileEnd) {
        a = 0;
        b = fileEnd;
        view.timeCentre = std::trunc(b / 2.0);
        view.timeHalfSpan = view.timeCentre;
        context.editor.timeViewChanged();
    }
    if (context.host.offlineRead(&task, kVstOfflineCursor, true)) {
        task.writePosition = a;
        task.readPosition = a;
        task.positionToProcessFrom = a;
        if (!(task.writePosition < fileEnd)) task.writePosition = 0;
        task.index = -1;
        context.host.offlineWrite(&task, kVstOfflineCursor);
    }
    if (context.host.offlineRead(&task, kVstOfflineSelection, true)) {
        task.positionToProcessFrom = a;
        task.numFramesToProcess = b - a;
        task.index = -1;
        context.host.offlineWrite(&task, kVstOfflineSelection);
    }
    // The range read is a ... b whatever the host answered above.
    task.positionToProcessFrom = a;
    task.numFramesToProcess = b - a;
    copyText(task.progressText, "Drawing...", sizeof task.progressText);

    SpectrogramStore& store = context.store;
    TaskState& state = context.state;
    if (state.sampleRatePending) {
        store.setSampleRate(std::trunc(static_cast<float>(task.sourceSampleRate)));
        store.resetFrequencyZoom();
    }
    if (state.settingsChanged) {
        const float bottom = store.bottomFrequency();
        const float top = store.topFrequency();
        store.reset();
        store.setFftLength(view.resolution);
        store.setWindowType(view.windowIndex);
        store.rebuildWindow();
        store.setFrequencyRange(bottom, top);
        state.settingsChanged = false;
    }

    const int n = framesAsInt(b - a);
    view.viewOrigin = std::trunc(a);
    view.rangeStart = 0;
    view.rangeEnd = n;
    view.viewLength = n;
    context.editor.timeViewChanged();
    prepareStoreRun(context, n);

    task.readPosition = task.positionToProcessFrom;
    if (!readAll(context, task)) return false;
    finishCurve(context, framesAsInt(a), framesAsInt(b), n, SnapshotRule::view);
    return true;
}

}  // namespace wowfix
