#include "tasks/CorrectionTask.h"

#include "pvc/PvcCurve.h"
#include "sdk/StringCopy.h"
#include "tasks/BlockReader.h"
#include "tasks/HostPort.h"
#include "tasks/VarispeedResampler.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace wowfix {
namespace {

constexpr int kHalfWidth = 8;

// Hands the rendered frames to the host in writes of at most
// sizeOutputBuffer frames; whatever is pending at the end goes with flush().
class OutputWriter {
public:
    OutputWriter(HostPort& host, VstOfflineTask& file, int channels)
        : host_(host), file_(file), channels_(channels),
          buffers_(static_cast<float**>(file.outputBuffer)) {
        file_.writeCount = 0;
    }

    bool append(const float* const* frames, int count) {
        for (int m = 0; m < count;) {
            const int room = file_.sizeOutputBuffer - file_.writeCount;
            const int n = std::min(room, count - m);
            for (int ch = 0; ch < channels_; ++ch)
                std::copy(frames[ch] + m, frames[ch] + m + n, buffers_[ch] + file_.writeCount);
            file_.writeCount += n;
            m += n;
            if (file_.writeCount == file_.sizeOutputBuffer && !write()) return false;
        }
        return true;
    }

    bool flush() { return file_.writeCount == 0 || write(); }

private:
    bool write() {
        if (!host_.offlineWrite(&file_, kVstOfflineAudio)) return false;
        file_.writeCount = 0;
        return true;
    }

    HostPort& host_;
    VstOfflineTask& file_;
    int channels_;
    float** buffers_;
};

bool refuse(std::string& message, const char* why) {
    message = why;
    return false;
}

}  // namespace

bool runCorrection(HostPort& host, VstOfflineTask* tasks, int count, PvcCurve& curve,
                   std::string& message) {
    if (tasks == nullptr || count < 2) return refuse(message, "The corrected copy needs a source and a new file.");
    VstOfflineTask& source = tasks[0];
    VstOfflineTask& target = tasks[1];
    if (source.plugOwned != &curve) return refuse(message, "The task does not carry this plug-in's curve.");
    const int channels = source.numSourceChannels;
    if (channels != 1 && channels != 2) return refuse(message, "Only mono and stereo files can be corrected.");
    // The new file takes the source's channels (offlinePrepare says so); a
    // host that gave it fewer output buffers cannot take the copy.
    if (target.numDestinationChannels != channels)
        return refuse(message, "The new file does not have the channels of the source.");
    if (source.sizeInputBuffer < 1 || target.sizeOutputBuffer < 1 || source.inputBuffer == nullptr ||
        target.outputBuffer == nullptr)
        return refuse(message, "The host gave no usable audio buffers.");
    if (!(source.numFramesToProcess >= 0.0)) return refuse(message, "The selection is not a valid range.");
    if (!(source.numFramesToProcess <= static_cast<double>(INT_MAX)))
        return refuse(message, "The selection is too long.");
    float** buffers = static_cast<float**>(target.outputBuffer);
    float** inputs = static_cast<float**>(source.inputBuffer);
    for (int ch = 0; ch < channels; ++ch)
        if (inputs[ch] == nullptr || buffers[ch] == nullptr)
            return refuse(message, "The host gave no usable audio buffers.");

    source.readPosition = source.positionToProcessFrom;
    copyText(source.progressText, "Copy file", sizeof source.progressText);
    target.writePosition = 0;

    const int block = source.sizeInputBuffer;
    VarispeedResampler resamplers[2];
    for (int ch = 0; ch < channels; ++ch)
        if (!resamplers[ch].init(kHalfWidth, block)) return refuse(message, "The resampler cannot be set up.");

    curve.beginSequentialRead();
    std::vector<float> ratios(static_cast<size_t>(block));
    std::vector<float> rendered[2];
    OutputWriter writer(host, target, channels);
    BlockReader reader(host, source);
    if (!reader.valid()) return refuse(message, "The host gave no usable audio buffers.");

    int frame = 0;  // position in the selection, as the curve counts it
    bool first = true;
    while (!reader.done()) {
        target.progress = -1.0;
        if (!reader.readNext()) return refuse(message, "The host could not read the audio.");
        const int n = source.readCount;
        for (int i = 0; i < n; ++i) ratios[static_cast<size_t>(i)] = curve.valueAtPositionSequential(frame++);
        const bool last = reader.finalBlock();

        int produced = 0;
        for (int ch = 0; ch < channels; ++ch) {
            produced = resamplers[ch].prepare(ratios.data(), inputs[ch], n, first, last);
            if (produced < 0) return refuse(message, "The resampler refused a block.");
            rendered[ch].resize(static_cast<size_t>(produced));
        }
        first = false;
        const bool ok = channels == 2 ? VarispeedResampler::renderPair(resamplers[0], resamplers[1],
                                                                       rendered[0].data(), rendered[1].data())
                                      : resamplers[0].render(rendered[0].data());
        if (!ok) return refuse(message, "The resampler refused a block.");
        const float* frames[2] = {rendered[0].data(), rendered[1].data()};
        if (!writer.append(frames, produced)) return refuse(message, "The host could not write the new file.");
    }
    if (!writer.flush()) return refuse(message, "The host could not write the new file.");
    source.progress = 1.0;
    return true;
}

}  // namespace wowfix
