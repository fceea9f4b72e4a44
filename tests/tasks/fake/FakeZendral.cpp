// Stand-ins for Zendral that misbehave in one way each, built under the
// library's own file name in folders of their own:
//   FAKE_NO_CREATE      lacks "createPlugin"
//   FAKE_NULL_INSTANCE  "createPlugin" makes nothing
//   FAKE_ODD            an instance that refuses every other block, writes
//                       unusable ratios between usable ones and names its
//                       parameters far past the buffers

#include "extlib/include/PvcPluginContract.h"

#include <cmath>
#include <limits>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

#if defined(FAKE_NULL_INSTANCE)
FAKE_EXPORT void* createPlugin(float) { return nullptr; }
#elif defined(FAKE_ODD)
namespace {

struct OddInstance {
    PvcInstanceHeader header;
    float values[2] = {0.0f, 0.0f};
    int calls = 0;
};

OddInstance* self(void* s) { return static_cast<OddInstance*>(s); }

const std::string kLongName(200, 'n');
const std::string kLongLabel(50, 'l');

// The ratios the odd instance writes, over and over: three usable, five not.
const float kCycle[] = {1.01f, std::numeric_limits<float>::quiet_NaN(), 0.0f, -1.0f, 2.5f, 2.0f,
                        std::numeric_limits<float>::infinity(), 0.5f};

bool oddProcess(void* s, int frames, int, float**, float** outputs) {
    const bool answer = self(s)->calls++ % 2 == 1;
    for (int i = 0; i < frames; ++i) outputs[0][i] = kCycle[(i / 256) % 8];
    return answer;
}

const PvcInstanceOps kOps = {
    [](void*) { return 2; },
    [](void* s, int i) { return i >= 0 && i < 2 ? self(s)->values[i] : 0.0f; },
    [](void* s, int i, float v) {
        if (i >= 0 && i < 2) self(s)->values[i] = v;
    },
    [](void* s, int i) { return i >= 0 && i < 2 ? 10.0f * self(s)->values[i] : 0.0f; },
    [](void*, int) { return kLongName.c_str(); },
    [](void*, int) { return kLongLabel.c_str(); },
    [](void*) { return 0; },
    oddProcess,
    [](void* s) { delete self(s); },
};

}  // namespace

FAKE_EXPORT void* createPlugin(float) {
    OddInstance* instance = new OddInstance();
    instance->header.ops = &kOps;
    return instance;
}
#endif

// Every stand-in has the second entry, so only the first one differs.
FAKE_EXPORT bool plugin_preprocess(void*, int, int, int, float**, int, int* outputCount, float**, int) {
    if (outputCount != nullptr) *outputCount = 0;
    return false;
}
