#include "tasks/PilotToneTask.h"
#include "tasks/StreamingTaskParts.h"

#include "detectors/ToneTracker.h"
#include "detectors/TrackerRunState.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "sdk/StringCopy.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/BlockReader.h"
#include "tasks/EditorPort.h"
#include "tasks/HostPort.h"
#include "tasks/TaskContext.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>

namespace wowfix {
namespace {

constexpr int kBlockLength = 1024;  // frames per tracker call
constexpr int kPointSpacing = 256;  // frames between curve points
constexpr std::int32_t kPilotToneStep = 4;
constexpr double kMinSampleRate = 24000.0;

class PilotToneRun {
public:
    PilotToneRun(TaskContext& context, VstOfflineTask& task, ToneTracker& tracker)
        : context_(context), task_(task), tracker_(tracker) {}

    bool run() {
        TaskState& state = context_.state;
        if (!(task_.sourceSampleRate >= kMinSampleRate) || !ToneTracker::supportsSampleRate(task_.sourceSampleRate))
            return fail("The sampling frequency is too low for a pilot tone.");
        if (!channelsUsable(task_)) return fail("Only mono and stereo files can be tracked.");
        const double total = context_.editor.view().totalSamples;
        if (!selectionUsable(total)) return fail("There is no audio to track.");
        if (!tracker_.startRun(runState_)) return fail(tracker_.lastMessage());
        readWholeSelection(task_, total);

        CurveKeptOnFailure curve(context_.curve);
        TaskProgress progress(context_.editor);
        if (!trackAll(progress)) return false;
        curve.keep();
        finishCurve();
        state.message.clear();
        return true;
    }

private:
    bool fail(const char* why) {
        context_.state.message = why;
        return false;
    }

    bool trackAll(TaskProgress& progress) {
        long long frames = 0;
        const char* why = nullptr;
        if (!countFrames(context_.host, task_, frames, why)) return fail(why);
        frameCount_ = static_cast<int>(frames);
        layOutRun(context_, task_, frameCount_);
        delay_ = tracker_.getDelay();
        context_.curve.initFlat(frameCount_);
        context_.editor.drawCurve();
        return streamMixedSamples(context_, task_, progress, [this](float x) {
            buffer_[static_cast<size_t>(fill_++)] = x;
            if (fill_ == kBlockLength) trackBlock();
        });
    }

    void trackBlock() {
        fill_ = 0;
        const float* inputs[1] = {buffer_.data()};
        float* outputs[1] = {output_.data()};
        if (!tracker_.process(kBlockLength, 1, inputs, outputs, runState_)) return;
        PvcCurve& curve = context_.curve;
        for (int j = 0; j < kBlockLength; j += kPointSpacing) {
            const long long at = position_ - delay_;
            if (at > 0 && at <= INT_MAX) {
                const float value = output_[static_cast<size_t>(j)];
                curve.insertPoint(static_cast<int>(at), value, true);
                lastValue_ = value;
                haveValue_ = true;
            }
            position_ += kPointSpacing;
        }
    }

    void finishCurve() {
        PvcCurve& curve = context_.curve;
        // Thinning keeps only the first point of a steady stretch; the end
        // point carries the last value so that the tail does not ramp back
        // to 1.0.
        if (haveValue_ && curve.count() > 1) curve.setValue(curve.count() - 1, lastValue_);
        presentNewCurve(context_, 0, frameCount_, kPilotToneStep);
    }

    TaskContext& context_;
    VstOfflineTask& task_;
    ToneTracker& tracker_;
    TrackerRunState runState_{};
    std::array<float, kBlockLength> buffer_{};
    std::array<float, kBlockLength> output_{};
    int fill_ = 0;
    int frameCount_ = 0;
    int delay_ = 0;
    long long position_ = 0;
    float lastValue_ = 1.0f;
    bool haveValue_ = false;
};

}  // namespace

bool runPilotToneTracking(TaskContext& context, VstOfflineTask& task, ToneTracker* tracker) {
    if (tracker == nullptr) {
        context.state.message = "No pilot-tone tracker has been set up.";
        return false;
    }
    PilotToneRun run(context, task, *tracker);
    return run.run();
}

}  // namespace wowfix
