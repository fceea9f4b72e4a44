#pragma once
#include "sdk/VstTypes.h"

namespace wowfix {

class AudioEffect;

// Base of a plug-in's editor window. The host asks for its size, opens it into
// a parent window it owns, gives it idle time and closes it.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual bool getRect(ERect** rect) {
        if (rect != nullptr) *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() const { return systemWindow != nullptr; }
    virtual void idle() {}
    // The effect's parameters or program changed: refresh what is shown.
    virtual void postUpdate() {}

    AudioEffect* getEffect() const { return effect; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};

}  // namespace wowfix
