#pragma once
// The processing-library contract: the nine PVC_Plugin functions, linked by
// name, that work on an opaque instance, and the two entries of the library
// that is loaded at run time ("createPlugin", "plugin_preprocess").
//
// Name buffers hold kPvcNameCapacity characters and label buffers
// kPvcLabelCapacity; the caller pre-fills that many bytes with a non-zero
// byte and a library never writes past them.

#include <cstdint>

constexpr int kPvcNameCapacity = 98;
constexpr int kPvcLabelCapacity = 18;

extern "C" {

int plugin_getNumParams(void* instance);
float plugin_getParamValue(void* instance, int index);
void plugin_setParamValue(void* instance, int index, float value);
float plugin_getParamValueDisp(void* instance, int index);
void plugin_getParamName(void* instance, int index, char* text);
void plugin_getParamLabel(void* instance, int index, char* text);
int plugin_getDelay(void* instance);
// True when outputs[0] holds a speed ratio at every 256th of the `frames`
// frames (a ratio of 0 marks "no estimate here").
bool plugin_processPVC(void* instance, int frames, int channels, float** inputs, float** outputs);
void plugin_destroy(void* instance);

}  // extern "C"

// The run-time entries, as the caller resolves them.
using PvcCreatePluginFunction = void* (*)(float sampleRate);
using PvcPreprocessFunction = bool (*)(void* instance, int reserved, int frames, int channels, float** inputs,
                                       int capacity, int* outputCount, float** outputs, int finalCall);

// What an instance made by a run-time library looks like to PVC_Plugin: its
// first member points at its operations, which the nine functions call.
struct PvcInstanceOps {
    int (*numParams)(void* self);
    float (*value)(void* self, int index);
    void (*setValue)(void* self, int index, float value);
    float (*display)(void* self, int index);
    const char* (*name)(void* self, int index);
    const char* (*label)(void* self, int index);
    int (*delay)(void* self);
    bool (*processPvc)(void* self, int frames, int channels, float** inputs, float** outputs);
    void (*destroy)(void* self);
};

struct PvcInstanceHeader {
    const PvcInstanceOps* ops;
};
