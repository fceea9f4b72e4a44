#pragma once
#include "sdk/AudioEffect.h"
#include "sdk/VstOffline.h"

namespace wowfix {

// The extended plug-in base: offline processing, capability queries, names
// and the vendor-specific channel, plus wrappers of the host's offline calls.
class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
        : AudioEffect(audioMaster, numPrograms, numParams) {}

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // Offline processing, called by the host.
    virtual bool offlineNotify(VstAudioFile* /*files*/, VstInt32 /*numAudioFiles*/, bool /*start*/) {
        return false;
    }
    virtual bool offlinePrepare(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) { return false; }
    virtual bool offlineRun(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) { return false; }

    // 1 = yes, -1 = no, 0 = don't know.
    virtual VstInt32 canDo(const char* /*text*/) { return 0; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
        return 0;
    }
    virtual VstPlugCategory getPlugCategory() {
        return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
    }
    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
    virtual VstInt32 getVstVersion() { return 2400; }
    virtual VstInt32 getGetTailSize() { return 0; }

    // Host offline calls. offlineStart: the host prepares task records for the
    // files and the new files, then calls offlinePrepare and offlineRun.
    bool offlineStart(VstAudioFile* files, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles) {
        return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, files) != 0;
    }
    bool offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource = true) {
        return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
    }
    bool offlineWrite(VstOfflineTask* task, VstOfflineOption option) {
        return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
    }
};

}  // namespace wowfix
