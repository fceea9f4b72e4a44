#include "tasks/LibraryDetectionTask.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/LibraryPointStream.h"
#include "tasks/ProcessingLibrary.h"
#include "tasks/StreamingTaskParts.h"
#include "tasks/TaskContext.h"

#include <cmath>
#include <cstdint>

namespace wowfix {

namespace {

constexpr std::int32_t kLibraryDetectionStep = 3;

class LibraryDetectionRun {
public:
    LibraryDetectionRun(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library)
        : context_(context), task_(task), library_(library) {}

    bool run() {
        if (!library_.hasInstance()) return fail("The hum library has not been set up.");
        if (!channelsUsable(task_)) return fail("Only mono and stereo files can be tracked.");
        const double total = context_.editor.view().totalSamples;
        if (!selectionUsable(total)) return fail("There is no audio to track.");
        readWholeSelection(task_, total);

        CurveKeptOnFailure curve(context_.curve);
        TaskProgress progress(context_.editor);
        if (!detect(progress)) return false;
        curve.keep();
        finishCurve();
        context_.state.message.clear();
        return true;
    }

private:
    bool fail(const char* why) {
        context_.state.message = why;
        return false;
    }

    void prepareStore() {
        SpectrogramStore& store = context_.store;
        EditorView& view = context_.editor.view();
        TaskState& state = context_.state;
        view.viewLength = frameCount_;
        if (state.settingsChanged) {
            store.reset();
            store.setFftLength(view.resolution);
            store.setWindowType(view.windowIndex);
            store.rebuildWindow();
            store.resetFrequencyZoom();
            state.settingsChanged = false;
        }
        store.layoutColumns(0, frameCount_, frameCount_);
        context_.editor.frequencyViewChanged();
    }

    bool detect(TaskProgress& progress) {
        long long frames = 0;
        const char* why = nullptr;
        if (!countFrames(context_.host, task_, frames, why)) return fail(why);
        frameCount_ = static_cast<int>(frames);
        prepareStore();
        task_.readPosition = task_.positionToProcessFrom;
        context_.curve.initFlat(frameCount_);
        stream_ = std::make_unique<LibraryPointStream>(library_, context_.curve, library_.delay());
        return streamMixedSamples(context_, task_, progress, [this](float x) { stream_->push(x); });
    }

    void finishCurve() {
        stream_->steadyEnds();
        const int start = static_cast<int>(task_.positionToProcessFrom);
        presentNewCurve(context_, start, start + frameCount_, kLibraryDetectionStep);
    }

    TaskContext& context_;
    VstOfflineTask& task_;
    ProcessingLibrary& library_;
    std::unique_ptr<LibraryPointStream> stream_;
    int frameCount_ = 0;
};

}  // namespace

bool runLibraryDetection(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library) {
    LibraryDetectionRun run(context, task, library);
    return run.run();
}

}  // namespace wowfix
