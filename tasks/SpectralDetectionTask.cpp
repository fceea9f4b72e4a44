#include "tasks/SpectralDetectionTask.h"

#include "detectors/SDPvc.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "pvc/tools/EditArea.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/BlockReader.h"
#include "tasks/EditorPort.h"
#include "tasks/SpectralAreaCurve.h"
#include "tasks/StreamingTaskParts.h"
#include "tasks/TaskContext.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace wowfix {

namespace {

constexpr std::int32_t kSpectralDetectorStep = 2;

bool fail(TaskContext& context, const std::string& why) {
    context.state.message = why;
    return false;
}

// The curve laid out anew over the whole file and recorded as one step.
void finishCurve(TaskContext& context) {
    PvcCurve& curve = context.curve;
    const EditorView& view = context.editor.view();
    curve.setView(view.panelWidth - 2, view.panelHeight - 1, 0, curve.length());
    curve.layout(context.store);
    context.editor.drawCurve();
    context.state.pvcReady = true;
    if (UndoHistory* history = context.editor.undoHistory()) recordNewCurve(curve, *history, kSpectralDetectorStep);
}

class SpectralRun {
public:
    SpectralRun(TaskContext& context, VstOfflineTask& task, SDPvc& detector, const EditArea& area)
        : context_(context), task_(task), detector_(detector), area_(area) {}

    bool run() {
        const double total = context_.editor.view().totalSamples;
        if (!area_.selected) return fail(context_, "Najpierw zaznacz obszar przetwarzania");
        if (!selectionUsable(total) || area_.start < 0 || area_.end > total || area_.end <= area_.start)
            return fail(context_, "The processing area lies outside the file; mark it again.");
        if (area_.end - area_.start < detector_.blockLength())
            return fail(context_, "The processing area is shorter than one analysis frame (" +
                                      std::to_string(detector_.blockLength()) + " samples); mark a longer one.");
        if (!channelsUsable(task_)) return fail(context_, "Only mono and stereo files can be analysed.");

        task_.readPosition = area_.start;
        task_.positionToProcessFrom = area_.start;
        task_.numFramesToProcess = area_.end - area_.start;
        copyText(task_.progressText, "Drawing...", sizeof task_.progressText);
        task_.writePosition = area_.start;

        const bool ok = analyse();
        task_.positionToProcessFrom = 0;
        task_.readPosition = 0;
        task_.writePosition = 0;
        if (!ok) return false;

        if (detector_.groupCount() == 0)
            return fail(context_, "No partial could be followed in the processing area; the curve is unchanged.");
        PvcCurve& curve = context_.curve;
        if (curve.length() < static_cast<int>(total)) curve.initFlat(static_cast<int>(total));
        const int end = area_.start + static_cast<int>(frames_) - 1;
        replaceAreaWithResult(curve, detector_, area_.start, end);
        context_.state.spectralAreaStart = area_.start;
        context_.state.spectralAreaEnd = end;
        finishCurve(context_);
        context_.state.message.clear();
        return true;
    }

private:
    bool analyse() {
        const char* why = nullptr;
        if (!countFrames(context_.host, task_, frames_, why)) return fail(context_, why);
        if (frames_ < detector_.blockLength())
            return fail(context_, "The host delivered less than one analysis frame of the area.");
        // The file's own rate; the store's only when the host gives none.
        const double source = task_.sourceSampleRate;
        const int rate = static_cast<int>(source >= 1.0 && source < 1e7 ? source : context_.store.sampleRate());
        if (!detector_.beginAnalysis(rate, area_.lowFrequency, area_.highFrequency, frames_))
            return fail(context_, detector_.lastMessage());
        context_.store.resetFrequencyZoom();
        context_.editor.frequencyViewChanged();

        task_.readPosition = task_.positionToProcessFrom;
        const int n = detector_.blockLength();
        std::vector<float> input(static_cast<size_t>(n)), output(static_cast<size_t>(n));
        int fill = 0;
        const auto feed = [&](int count) {
            const float* inputs[1] = {input.data()};
            float* outputs[1] = {output.data()};
            fill = 0;
            return detector_.process(count, 1, inputs, outputs);
        };
        TaskProgress progress(context_.editor);
        BlockReader reader(context_.host, task_);
        while (!reader.done()) {
            progress.show(1.0 - reader.remaining() / task_.numFramesToProcess);
            if (!reader.readNext()) return fail(context_, "The host could not read the audio.");
            for (int i = 0; i < task_.readCount; ++i) {
                input[static_cast<size_t>(fill++)] = mixedSample(task_, i);
                if (fill == n && !feed(n)) return fail(context_, detector_.lastMessage());
            }
        }
        if (fill > 0 && !feed(fill)) return fail(context_, detector_.lastMessage());
        if (!detector_.groupTracks() || !detector_.combineGroups()) return fail(context_, detector_.lastMessage());
        return true;
    }

    TaskContext& context_;
    VstOfflineTask& task_;
    SDPvc& detector_;
    const EditArea& area_;
    long long frames_ = 0;
};

}  // namespace

bool runSpectralDetection(TaskContext& context, VstOfflineTask& task, SDPvc* detector, const EditArea& area) {
    if (detector == nullptr) {
        task.positionToProcessFrom = 0;
        task.readPosition = 0;
        task.writePosition = 0;
        return fail(context, "No spectral-domain detector has been set up.");
    }
    SpectralRun run(context, task, *detector, area);
    return run.run();
}

bool createSpectralPvc(TaskContext& context, SDPvc* detector) {
    const TaskState& state = context.state;
    if (detector == nullptr || !detector->hasResult() || state.spectralAreaEnd <= state.spectralAreaStart)
        return fail(context, "Run \"Preview\" first: there is no spectral-domain result to build the curve from.");
    if (!detector->combineGroups()) return fail(context, detector->lastMessage());
    PvcCurve& curve = context.curve;
    const double total = context.editor.view().totalSamples;
    if (curve.length() < state.spectralAreaEnd + 1 && selectionUsable(total)) curve.initFlat(static_cast<int>(total));
    TaskProgress progress(context.editor);
    replaceAreaWithResult(curve, *detector, state.spectralAreaStart, state.spectralAreaEnd);
    finishCurve(context);
    context.state.message.clear();
    return true;
}

}  // namespace wowfix
