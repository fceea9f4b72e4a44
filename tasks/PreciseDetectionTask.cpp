#include "tasks/PreciseDetectionTask.h"
#include "tasks/StreamingTaskParts.h"

#include "detectors/PreciseDetector.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/BlockReader.h"
#include "tasks/EditorPort.h"
#include "tasks/HostPort.h"
#include "tasks/TaskContext.h"

#include <algorithm>
#include <string>
#include <vector>

namespace wowfix {
namespace {

constexpr int kPointSpacing = 256;  // frames between curve points

class PreciseRun {
public:
    PreciseRun(TaskContext& context, VstOfflineTask& task, PreciseDetector& detector, std::int32_t undoKind)
        : context_(context), task_(task), detector_(detector), undoKind_(undoKind) {}

    bool run() {
        if (!channelsUsable(task_)) return fail("Only mono and stereo files can be tracked.");
        const double total = context_.editor.view().totalSamples;
        if (!selectionUsable(total)) return fail("There is no audio to track.");
        if (!detector_.startRun()) return fail(detector_.lastMessage());
        readWholeSelection(task_, total);

        CurveKeptOnFailure curve(context_.curve);
        TaskProgress progress(context_.editor);
        if (!searchPass() || !trackPass(progress) || !detector_.finishRun()) {
            if (context_.state.message.empty()) context_.state.message = detector_.lastMessage();
            return false;
        }
        curve.keep();
        buildCurve();
        const int bridged = detector_.bridgedStretches();
        context_.state.message =
            bridged > 0 ? "The curve bridges " + std::to_string(bridged) + " stretch(es) without a usable signal."
                        : std::string();
        return true;
    }

private:
    bool fail(const char* why) {
        context_.state.message = why;
        return false;
    }

    // First pass: the frame count, and the start of the run for the detector.
    bool searchPass() {
        context_.state.message.clear();
        BlockReader reader(context_.host, task_);
        if (!reader.valid()) return fail("The host gave no usable audio buffers.");
        long long frames = 0;
        while (!reader.done()) {
            if (!reader.readNext()) return fail("The host could not read the audio.");
            mixBlock();
            detector_.offerSearchSamples(mixed_.data(), task_.readCount);
            frames += task_.readCount;
        }
        frameCount_ = static_cast<int>(std::min<long long>(frames, INT_MAX));
        detector_.expectFrames(frames);
        return true;
    }

    bool trackPass(TaskProgress& progress) {
        layOutRun(context_, task_, frameCount_);
        SpectrogramStore& store = context_.store;
        BlockReader reader(context_.host, task_);
        while (!reader.done()) {
            progress.show(1.0 - reader.remaining() / task_.numFramesToProcess);
            if (!reader.readNext()) return fail("The host could not read the audio.");
            mixBlock();
            for (int i = 0; i < task_.readCount; ++i) offerSample(store, context_.editor, mixed_[static_cast<size_t>(i)]);
            if (!detector_.process(mixed_.data(), task_.readCount)) return false;
        }
        return true;
    }

    void mixBlock() {
        mixed_.resize(static_cast<size_t>(std::max(task_.readCount, 0)));
        for (int i = 0; i < task_.readCount; ++i) mixed_[static_cast<size_t>(i)] = mixedSample(task_, i);
    }

    // The speed of frame n is the ratio half way to frame n + 1.
    float valueAt(int frame) const { return static_cast<float>(detector_.ratioAt(frame + 0.5)); }

    void buildCurve() {
        PvcCurve& curve = context_.curve;
        curve.initFlat(frameCount_);
        if (frameCount_ >= 2) {
            curve.clear();
            for (int at = 0; at < frameCount_ - 1; at += kPointSpacing) curve.appendPoint(at, valueAt(at), false);
            curve.appendPoint(frameCount_ - 1, valueAt(frameCount_ - 1), false);
        } else if (frameCount_ == 1) {
            curve.setValue(0, valueAt(0));
        }
        presentNewCurve(context_, 0, frameCount_, undoKind_);
    }

    TaskContext& context_;
    VstOfflineTask& task_;
    PreciseDetector& detector_;
    std::int32_t undoKind_;
    std::vector<float> mixed_;
    int frameCount_ = 0;
};

}  // namespace

bool runPreciseDetection(TaskContext& context, VstOfflineTask& task, PreciseDetector* detector,
                         std::int32_t undoKind) {
    if (detector == nullptr) {
        context.state.message = "No precise detector has been set up.";
        return false;
    }
    PreciseRun run(context, task, *detector, undoKind);
    return run.run();
}

}  // namespace wowfix
