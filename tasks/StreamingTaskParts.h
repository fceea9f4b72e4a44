#pragma once
// Small pieces the streaming detection tasks share.

#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "sdk/VstOffline.h"
#include "sdk/StringCopy.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/BlockReader.h"
#include "tasks/EditorPort.h"
#include "tasks/TaskContext.h"

#include <climits>
#include <cmath>

namespace wowfix {

// The mixed sample of frame i: one channel as it is, two as their mean.
inline float mixedSample(const VstOfflineTask& task, int i) {
    float* const* inputs = static_cast<float* const*>(task.inputBuffer);
    if (task.numSourceChannels == 1) return inputs[0][i];
    return static_cast<float>((static_cast<double>(inputs[0][i]) + inputs[1][i]) * 0.5);
}

// Offers one sample to the store, drawing every column it completes and
// offering the same sample again, so that every column gets its full block. A
// column completes at most once per layout, so the re-offers are bounded.
inline void offerSample(SpectrogramStore& store, EditorPort& editor, float x) {
    for (int guard = 0; guard <= store.columns() && store.feedSample(x); ++guard)
        editor.drawColumn(store.lastColumn());
}

// Mono or stereo with a buffer for every channel.
inline bool channelsUsable(const VstOfflineTask& task) {
    if (task.numSourceChannels != 1 && task.numSourceChannels != 2) return false;
    float* const* inputs = static_cast<float* const*>(task.inputBuffer);
    if (inputs == nullptr) return false;
    for (int ch = 0; ch < task.numSourceChannels; ++ch)
        if (inputs[ch] == nullptr) return false;
    return true;
}

// The progress bar, hidden on every way out of the task.
class TaskProgress {
public:
    explicit TaskProgress(EditorPort& editor) : editor_(editor) {}
    ~TaskProgress() {
        editor_.showProgress(0.0);
        editor_.showProgress(-1.0);
    }
    TaskProgress(const TaskProgress&) = delete;
    TaskProgress& operator=(const TaskProgress&) = delete;
    void show(double fraction) { editor_.showProgress(std::trunc(fraction * 100.0)); }

private:
    EditorPort& editor_;
};

// The curve the user had, given back when the task ends without keep():
// a run that fails part way leaves the chart as it was.
class CurveKeptOnFailure {
public:
    explicit CurveKeptOnFailure(PvcCurve& curve) : curve_(curve), before_(curve) {}
    ~CurveKeptOnFailure() {
        if (!kept_) curve_ = before_;
    }
    CurveKeptOnFailure(const CurveKeptOnFailure&) = delete;
    CurveKeptOnFailure& operator=(const CurveKeptOnFailure&) = delete;
    // The run succeeded: its curve stays.
    void keep() { kept_ = true; }

private:
    PvcCurve& curve_;
    const PvcCurve before_;
    bool kept_ = false;
};

// The store's columns laid out over the run's `frames` frames, the whole band
// shown, and the record set to read from the start of the range again.
inline void layOutRun(TaskContext& context, VstOfflineTask& task, int frames) {
    context.editor.view().viewLength = frames;
    context.store.layoutColumns(0, frames, frames);
    context.store.resetFrequencyZoom();
    context.editor.frequencyViewChanged();
    task.readPosition = task.positionToProcessFrom;
}

// Sets the record up to read the editor's whole selection of `total` frames.
inline void readWholeSelection(VstOfflineTask& task, double total) {
    task.readPosition = 0;
    task.positionToProcessFrom = 0;
    task.numFramesToProcess = std::floor(total);
    copyText(task.progressText, "Drawing...", sizeof task.progressText);
    task.writePosition = 0;
}

// A selection the tasks can count in an int.
inline bool selectionUsable(double total) { return total >= 1.0 && total <= static_cast<double>(INT_MAX); }

// The first pass: how many frames the host delivers for the range. False
// with `why` set when the record cannot be read or a read fails.
inline bool countFrames(HostPort& host, VstOfflineTask& task, long long& frames, const char*& why) {
    BlockReader reader(host, task);
    if (!reader.valid()) {
        why = "The host gave no usable audio buffers.";
        return false;
    }
    frames = 0;
    while (!reader.done()) {
        if (!reader.readNext()) {
            why = "The host could not read the audio.";
            return false;
        }
        frames += task.readCount;
    }
    return true;
}

// The pass that builds the curve: reads the range block by block with the
// progress shown, offers every mixed sample to the store (drawing the columns
// it completes) and then hands it to `use`. False with the state's message
// set when a read fails.
template <class UseSample>
bool streamMixedSamples(TaskContext& context, VstOfflineTask& task, TaskProgress& progress, UseSample&& use) {
    BlockReader reader(context.host, task);
    while (!reader.done()) {
        progress.show(1.0 - reader.remaining() / task.numFramesToProcess);
        if (!reader.readNext()) {
            context.state.message = "The host could not read the audio.";
            return false;
        }
        for (int i = 0; i < task.readCount; ++i) {
            const float x = mixedSample(task, i);
            offerSample(context.store, context.editor, x);
            use(x);
        }
    }
    return true;
}

// The curve a task has built over the frames start ... end becomes the
// editor's chart, and one undo step of `undoKind` on the open file.
inline void presentNewCurve(TaskContext& context, int start, int end, std::int32_t undoKind) {
    PvcCurve& curve = context.curve;
    const EditorView& view = context.editor.view();
    curve.setView(view.panelWidth - 2, view.panelHeight - 1, start, end);
    curve.layout(context.store);
    context.editor.drawCurve();
    context.state.pvcReady = true;
    if (UndoHistory* history = context.editor.undoHistory()) recordNewCurve(curve, *history, undoKind);
}

}  // namespace wowfix
