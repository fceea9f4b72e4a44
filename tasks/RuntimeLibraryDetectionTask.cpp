#include "tasks/LibraryDetectionTask.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/LibraryPointStream.h"
#include "tasks/ProcessingLibrary.h"
#include "tasks/StreamingTaskParts.h"
#include "tasks/TaskContext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace wowfix {

namespace {

constexpr std::int32_t kLibraryDetectionStep = 3;
constexpr int kPreviewFftLength = 128;
constexpr int kPreviewWindow = 2;
constexpr int L = ProcessingLibrary::kBlockLength;

class RuntimeLibraryRun {
public:
    RuntimeLibraryRun(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library)
        : context_(context), task_(task), library_(library), input_(L, 0.0f), preprocessed_(L, 0.0f) {}

    bool run() {
        if (!library_.hasInstance()) return fail("The hum library has not been set up.");
        if (!library_.canPreprocess()) return fail("The hum library Zendral offers no \"plugin_preprocess\".");
        if (!channelsUsable(task_)) return fail("Only mono and stereo files can be tracked.");
        const double total = context_.editor.view().totalSamples;
        if (!selectionUsable(total)) return fail("There is no audio to track.");
        rate_ = library_.display(2);
        const double fs = task_.sourceSampleRate;
        if (!(std::isfinite(rate_) && rate_ > 0.0f && std::isfinite(fs) && fs > 0.0))
            return fail("The hum library's decimated rate or the file's sample rate is not usable.");
        readWholeSelection(task_, total);
        const double scaled = task_.numFramesToProcess / (fs / rate_);
        scaledFrames_ = static_cast<int>(std::clamp(std::trunc(scaled), 0.0, static_cast<double>(INT_MAX)));

        CurveKeptOnFailure curve(context_.curve);
        TaskProgress progress(context_.editor);
        if (!showPreprocessed(progress) || !detect(progress)) return false;
        curve.keep();
        finishCurve();
        context_.state.message.clear();
        return true;
    }

private:
    bool fail(const std::string& why) {
        context_.state.message = why;
        return false;
    }

    void offer(float x) {
        offerSample(context_.store, context_.editor, x);
        ++fed_;
    }

    bool preprocessBlock(bool finalCall) {
        int count = 0;
        if (library_.preprocess(input_.data(), L, preprocessed_.data(), L, count, finalCall))
            for (int i = 0; i < count; ++i) offer(preprocessed_[static_cast<size_t>(i)]);
        return true;
    }

    bool showPreprocessed(TaskProgress& progress) {
        SpectrogramStore& store = context_.store;
        store.reset();
        store.setFftLength(kPreviewFftLength);
        store.setWindowType(kPreviewWindow);
        store.rebuildWindow();
        store.layoutColumns(0, scaledFrames_, scaledFrames_);
        store.resetFrequencyZoom();
        context_.editor.frequencyViewChanged();

        BlockReader reader(context_.host, task_);
        if (!reader.valid()) return fail("The host gave no usable audio buffers.");
        // Frames a block leaves in the buffer wait for the next one, mono or
        // stereo alike.
        int fill = 0;
        while (!reader.done()) {
            progress.show(1.0 - reader.remaining() / task_.numFramesToProcess);
            if (!reader.readNext()) return fail("The host could not read the audio.");
            for (int i = 0; i < task_.readCount; ++i) {
                input_[static_cast<size_t>(fill++)] = mixedSample(task_, i);
                if (fill == L) {
                    fill = 0;
                    preprocessBlock(false);
                }
            }
        }
        // The frames still pending go out with the final call, zeros after them.
        std::fill(input_.begin() + fill, input_.end(), 0.0f);
        preprocessBlock(true);
        while (fed_ < scaledFrames_) offer(0.0f);
        return true;
    }

    bool detect(TaskProgress& progress) {
        task_.readPosition = task_.positionToProcessFrom;
        if (!library_.createLibraryInstance(context_.store.sampleRate())) return fail(library_.message());
        context_.curve.initFlat(static_cast<int>(task_.numFramesToProcess));
        stream_ = std::make_unique<LibraryPointStream>(library_, context_.curve, library_.delay());
        BlockReader reader(context_.host, task_);
        while (!reader.done()) {
            progress.show(1.0 - reader.remaining() / task_.numFramesToProcess);
            if (!reader.readNext()) return fail("The host could not read the audio.");
            for (int i = 0; i < task_.readCount; ++i) stream_->push(mixedSample(task_, i));
        }
        return true;
    }

    void finishCurve() {
        PvcCurve& curve = context_.curve;
        SpectrogramStore& store = context_.store;
        stream_->steadyEnds();
        const EditorView& view = context_.editor.view();
        curve.setView(view.panelWidth - 2, view.panelHeight - 1, 0, static_cast<int>(view.totalSamples));

        // The band's bounds over the preprocessed picture, relative to the
        // nominal frequency, which sits at fs * p10 / rate there.
        const float lower = library_.display(3);
        const float upper = library_.display(4);
        const float nominal = library_.display(10);
        int lowerRow = -1;
        int upperRow = -1;
        if (std::isfinite(nominal) && nominal > 0.0f && rate_ > 0.0f) {
            const float ref = store.referenceFrequency() * (nominal / (rate_ / 4.0f));
            if (std::isfinite(ref)) store.setReferenceFrequency(ref);
            lowerRow = store.rowOfValue(lower / nominal);
            upperRow = store.rowOfValue(upper / nominal);
        }
        curve.layout(store);
        context_.editor.drawCurveWithBounds(lowerRow, upperRow);
        context_.state.pvcReady = true;
        // The store now holds the preview's transform length: the next view
        // pass takes the editor's settings again.
        context_.state.settingsChanged = true;
        if (UndoHistory* history = context_.editor.undoHistory())
            recordNewCurve(curve, *history, kLibraryDetectionStep);
    }

    TaskContext& context_;
    VstOfflineTask& task_;
    ProcessingLibrary& library_;
    std::vector<float> input_;
    std::vector<float> preprocessed_;
    std::unique_ptr<LibraryPointStream> stream_;
    float rate_ = 0.0f;
    int scaledFrames_ = 0;
    int fed_ = 0;
};

}  // namespace

bool runRuntimeLibraryDetection(TaskContext& context, VstOfflineTask& task, ProcessingLibrary& library) {
    RuntimeLibraryRun run(context, task, library);
    return run.run();
}

}  // namespace wowfix
