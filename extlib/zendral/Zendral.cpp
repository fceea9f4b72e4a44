// libZendral: makes hum-tracker instances ("createPlugin") and offers their
// preprocessed signal ("plugin_preprocess"). The instance's operations are
// what libPVC_Plugin's functions call.

#include "extlib/hum/HumTracker.h"
#include "extlib/include/PvcPluginContract.h"

#include <cmath>
#include <new>

#if defined(_WIN32)
#define ZENDRAL_EXPORT extern "C" __declspec(dllexport)
#else
#define ZENDRAL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using wowfix::hum::HumParameters;
using wowfix::hum::HumTracker;

struct HumInstance {
    PvcInstanceHeader header;
    HumTracker tracker;
    explicit HumInstance(double rate);
};

HumInstance* self(void* instance) { return static_cast<HumInstance*>(instance); }

// The mean of the channels of frame i.
float mixed(float** inputs, int channels, int i) {
    double sum = 0.0;
    for (int c = 0; c < channels; ++c) sum += inputs[c] != nullptr ? inputs[c][i] : 0.0f;
    return static_cast<float>(sum / channels);
}

bool processPvc(void* instance, int frames, int channels, float** inputs, float** outputs) {
    HumTracker& tracker = self(instance)->tracker;
    if (channels == 1) {
        tracker.process(inputs[0], frames, outputs[0]);
        return true;
    }
    // Mixed in place of the output, which the ratios then overwrite.
    for (int i = 0; i < frames; ++i) outputs[0][i] = mixed(inputs, channels, i);
    tracker.process(outputs[0], frames, outputs[0]);
    return true;
}

const PvcInstanceOps kOps = {
    [](void*) { return HumParameters::count(); },
    [](void* s, int i) { return self(s)->tracker.parameters().value(i); },
    [](void* s, int i, float v) { self(s)->tracker.setParameter(i, v); },
    [](void* s, int i) { return self(s)->tracker.parameters().display(i); },
    [](void*, int i) { return HumParameters::name(i); },
    [](void*, int i) { return HumParameters::label(i); },
    [](void* s) { return self(s)->tracker.delayFrames(); },
    processPvc,
    [](void* s) { delete self(s); },
};

HumInstance::HumInstance(double rate) : header{&kOps}, tracker(rate) {}

}  // namespace

ZENDRAL_EXPORT void* createPlugin(float sampleRate) {
    if (!(std::isfinite(sampleRate) && sampleRate >= 1000.0f)) return nullptr;
    return new (std::nothrow) HumInstance(sampleRate);
}

ZENDRAL_EXPORT bool plugin_preprocess(void* instance, int /*reserved*/, int frames, int channels, float** inputs,
                                      int capacity, int* outputCount, float** outputs, int /*finalCall*/) {
    if (outputCount != nullptr) *outputCount = 0;
    if (instance == nullptr || frames < 0 || channels != 1 || inputs == nullptr || inputs[0] == nullptr ||
        outputs == nullptr || outputs[0] == nullptr || outputCount == nullptr || capacity < 0)
        return false;
    *outputCount = self(instance)->tracker.preprocess(inputs[0], frames, outputs[0], capacity);
    return true;
}
