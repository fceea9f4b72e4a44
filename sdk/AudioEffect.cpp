#include "sdk/AudioEffect.h"

#include <cstring>

#include "sdk/AEffEditor.h"

namespace wowfix {

namespace {

// The record's function pointers lead here; no C++ exception may cross into
// the host, so every entry answers a neutral value if one escapes.
AudioEffect* objectOf(AEffect* effect) {
    return effect != nullptr ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

VstIntPtr VSTCALLBACK dispatchEffect(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                     void* ptr, float opt) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return 0;
    try {
        return object->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

void VSTCALLBACK processEffect(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->process(inputs, outputs, frames);
    } catch (...) {
    }
}

void VSTCALLBACK processReplacingEffect(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->processReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

void VSTCALLBACK setParameterEffect(AEffect* effect, VstInt32 index, float value) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->setParameter(index, value);
    } catch (...) {
    }
}

float VSTCALLBACK getParameterEffect(AEffect* effect, VstInt32 index) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return 0.0f;
    try {
        return object->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffect;
    cEffect.process = processEffect;
    cEffect.setParameter = setParameterEffect;
    cEffect.getParameter = getParameterEffect;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = 0;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEffect;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    if (newEditor == editor) return;
    delete editor;
    editor = newEditor;
    if (editor != nullptr)
        cEffect.flags |= effFlagsHasEditor;
    else
        cEffect.flags &= ~effFlagsHasEditor;
}

VstInt32 AudioEffect::getMasterVersion() {
    VstInt32 version = 1;
    if (audioMaster != nullptr) {
        version = static_cast<VstInt32>(callHost(audioMasterVersion));
        if (version == 0) version = 1;
    }
    return version;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (audioMaster == nullptr) return 0;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            // The host releases the effect through this opcode; the object goes with it.
            close();
            delete this;
            return 1;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (ptr != nullptr) setProgramName(static_cast<const char*>(ptr));
            return 0;
        case effGetProgramName:
            if (ptr != nullptr) getProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetParamLabel:
            if (ptr != nullptr) getParameterLabel(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamDisplay:
            if (ptr != nullptr) getParameterDisplay(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamName:
            if (ptr != nullptr) getParameterName(index, static_cast<char*>(ptr));
            return 0;
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(static_cast<VstInt32>(value));
            return 0;
        case effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case effEditGetRect:
            if (editor == nullptr) {
                if (ptr != nullptr) *static_cast<ERect**>(ptr) = nullptr;
                return 0;
            }
            return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            return editor != nullptr && editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor != nullptr) editor->close();
            return 0;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            return 0;
        case effIdentify:
            return fourCharCode('N', 'v', 'E', 'f');
        default:
            return 0;
    }
}

}  // namespace wowfix
