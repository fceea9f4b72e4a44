// libPVC_Plugin: the nine functions of the contract, dispatched to the
// operations of the instance the run-time library made. Every function
// answers a neutral value for a null instance or a missing operation.

#include "extlib/include/PvcPluginContract.h"

#include <cmath>

#if defined(_WIN32)
#define PVC_EXPORT __declspec(dllexport)
#else
#define PVC_EXPORT __attribute__((visibility("default")))
#endif

namespace {

const PvcInstanceOps* opsOf(void* instance) {
    if (instance == nullptr) return nullptr;
    return static_cast<PvcInstanceHeader*>(instance)->ops;
}

// Copies `source` into a pre-filled buffer: never past `capacity` bytes nor
// past the first 0 already there, terminated when there is room.
void copyIntoPrefilled(const char* source, char* text, int capacity) {
    if (source == nullptr || text == nullptr) return;
    int i = 0;
    while (i < capacity - 1 && source[i] != '\0' && text[i] != '\0') {
        text[i] = source[i];
        ++i;
    }
    if (i < capacity && text[i] != '\0') text[i] = '\0';
}

}  // namespace

extern "C" {

PVC_EXPORT int plugin_getNumParams(void* instance) {
    const PvcInstanceOps* ops = opsOf(instance);
    return ops != nullptr && ops->numParams != nullptr ? ops->numParams(instance) : 0;
}

PVC_EXPORT float plugin_getParamValue(void* instance, int index) {
    const PvcInstanceOps* ops = opsOf(instance);
    return ops != nullptr && ops->value != nullptr ? ops->value(instance, index) : 0.0f;
}

PVC_EXPORT void plugin_setParamValue(void* instance, int index, float value) {
    const PvcInstanceOps* ops = opsOf(instance);
    if (ops != nullptr && ops->setValue != nullptr && std::isfinite(value)) ops->setValue(instance, index, value);
}

PVC_EXPORT float plugin_getParamValueDisp(void* instance, int index) {
    const PvcInstanceOps* ops = opsOf(instance);
    return ops != nullptr && ops->display != nullptr ? ops->display(instance, index) : 0.0f;
}

PVC_EXPORT void plugin_getParamName(void* instance, int index, char* text) {
    const PvcInstanceOps* ops = opsOf(instance);
    if (ops != nullptr && ops->name != nullptr) copyIntoPrefilled(ops->name(instance, index), text, kPvcNameCapacity);
}

PVC_EXPORT void plugin_getParamLabel(void* instance, int index, char* text) {
    const PvcInstanceOps* ops = opsOf(instance);
    if (ops != nullptr && ops->label != nullptr)
        copyIntoPrefilled(ops->label(instance, index), text, kPvcLabelCapacity);
}

PVC_EXPORT int plugin_getDelay(void* instance) {
    const PvcInstanceOps* ops = opsOf(instance);
    return ops != nullptr && ops->delay != nullptr ? ops->delay(instance) : 0;
}

PVC_EXPORT bool plugin_processPVC(void* instance, int frames, int channels, float** inputs, float** outputs) {
    const PvcInstanceOps* ops = opsOf(instance);
    if (ops == nullptr || ops->processPvc == nullptr || frames < 0 || channels < 1 || inputs == nullptr ||
        outputs == nullptr || inputs[0] == nullptr || outputs[0] == nullptr)
        return false;
    return ops->processPvc(instance, frames, channels, inputs, outputs);
}

PVC_EXPORT void plugin_destroy(void* instance) {
    const PvcInstanceOps* ops = opsOf(instance);
    if (ops != nullptr && ops->destroy != nullptr) ops->destroy(instance);
}

}  // extern "C"
