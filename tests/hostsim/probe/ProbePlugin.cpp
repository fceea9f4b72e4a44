// The probe plug-in (see ProbeProtocol.h). It exports only the historical
// entry name `main`, so loading it also checks the host's fallback.

#include "ProbeProtocol.h"
#include "host/VendorCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Probe {
    AEffect effect{};
    audioMasterCallback master = nullptr;
    probe::Observations seen;
    int scenario = probe::kCopy;
    int pendingNewFiles = -1;  // >= 0: the next notification starts a task
    int newFileChannels = 0;
    int insideHostCalls = 0;
    float parameters[2] = {0.25f, 0.75f};
    int program = 0;
};

Probe* probeOf(AEffect* effect) { return static_cast<Probe*>(effect->object); }

VstIntPtr callHost(Probe& p, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr) {
    ++p.insideHostCalls;
    const VstIntPtr answer = p.master(&p.effect, opcode, index, value, ptr, 0.0f);
    --p.insideHostCalls;
    return answer;
}

VstIntPtr readBlock(Probe& p, VstOfflineTask* task, VstInt32 option) {
    ++p.seen.reads;
    p.seen.lastReadAnswer = callHost(p, audioMasterOfflineRead, 1, option, task);
    return p.seen.lastReadAnswer;
}

VstIntPtr writeBlock(Probe& p, VstOfflineTask* task, VstInt32 option) {
    ++p.seen.writes;
    p.seen.lastWriteAnswer = callHost(p, audioMasterOfflineWrite, 0, option, task);
    return p.seen.lastWriteAnswer;
}

VstInt32 fileFlagsFor(int scenario) {
    switch (scenario) {
        case probe::kReadWithoutAsking:
            return 0;
        case probe::kMoveCursorAndSelect:
        case probe::kSelectPastEnd:
            return kVstOfflineWantRead | kVstOfflineWantMoveCursor | kVstOfflineWantSelect;
        default:
            return kVstOfflineWantRead;
    }
}

VstIntPtr start(Probe& p, VstAudioFile* files, VstInt32 count, int newFiles) {
    if (files == nullptr || count < 1) return 0;
    files[0].flags |= fileFlagsFor(p.scenario);
    files[0].plugOwned = &p.seen;
    p.seen.ownedToken = &p.seen;
    p.seen.startAnswer = callHost(p, audioMasterOfflineStart, newFiles, count, files);
    return p.seen.startAnswer;
}

// Reads the source record's range block by block; copies into the new file
// when there is one. Stops after `limit` frames (then answers false).
bool copy(Probe& p, VstOfflineTask* tasks, VstInt32 count, double limit) {
    VstOfflineTask& source = tasks[0];
    VstOfflineTask* target = count > 1 ? &tasks[1] : nullptr;
    const double total = source.numFramesToProcess;
    double remaining = total;
    source.readPosition = source.positionToProcessFrom;
    if (target != nullptr) target->writePosition = 0.0;
    while (remaining > 0.0) {
        if (total - remaining >= limit) return false;
        source.progress = 1.0 - remaining / total;
        source.readCount = static_cast<VstInt32>(std::min<double>(source.sizeInputBuffer, remaining));
        if (readBlock(p, &source, kVstOfflineAudio) == 0) return false;
        remaining -= source.readCount;
        if (target == nullptr) continue;
        float** in = static_cast<float**>(source.inputBuffer);
        float** out = static_cast<float**>(target->outputBuffer);
        const int frames = std::min(source.readCount, target->sizeOutputBuffer);
        for (int c = 0; c < target->numDestinationChannels; ++c) {
            const int from = std::min(c, source.numSourceChannels - 1);
            std::memcpy(out[c], in[from], sizeof(float) * static_cast<std::size_t>(frames));
        }
        target->writeCount = frames;
        if (writeBlock(p, target, kVstOfflineAudio) == 0) return false;
    }
    return true;
}

bool moveCursorAndSelection(Probe& p, VstOfflineTask& task, double selectionEnd) {
    const double frames = task.numFramesInSourceFile;
    p.seen.cursorReadAnswer = readBlock(p, &task, kVstOfflineCursor);
    task.writePosition = std::floor(frames / 4.0);
    task.index = -1;
    p.seen.cursorWriteAnswer = writeBlock(p, &task, kVstOfflineCursor);
    p.seen.selectionReadAnswer = readBlock(p, &task, kVstOfflineSelection);
    task.positionToProcessFrom = std::floor(frames / 4.0);
    task.numFramesToProcess = selectionEnd - task.positionToProcessFrom;
    task.index = -1;
    p.seen.selectionWriteAnswer = writeBlock(p, &task, kVstOfflineSelection);
    return true;
}

bool run(Probe& p, VstOfflineTask* tasks, VstInt32 count) {
    VstOfflineTask& source = tasks[0];
    switch (p.scenario) {
        case probe::kReadPastEnd:
            source.readPosition = source.numFramesInSourceFile - 1.0;
            source.readCount = 2;
            return readBlock(p, &source, kVstOfflineAudio) != 0;
        case probe::kOversizedRead:
            source.readPosition = 0.0;
            source.readCount = source.sizeInputBuffer + 1;
            return readBlock(p, &source, kVstOfflineAudio) != 0;
        case probe::kOversizedWrite:
            if (count < 2) return false;
            tasks[1].writePosition = 0.0;
            tasks[1].writeCount = tasks[1].sizeOutputBuffer + 1;
            return writeBlock(p, &tasks[1], kVstOfflineAudio) != 0;
        case probe::kWriteOutOfOrder:
            if (count < 2) return false;
            tasks[1].writePosition = 5.0;
            tasks[1].writeCount = 1;
            return writeBlock(p, &tasks[1], kVstOfflineAudio) != 0;
        case probe::kMoveCursorAndSelect:
        case probe::kMoveWithoutAsking:
            return moveCursorAndSelection(p, source, std::floor(source.numFramesInSourceFile / 2.0));
        case probe::kSelectPastEnd:
            return moveCursorAndSelection(p, source, source.numFramesInSourceFile + 1.0);
        case probe::kFailMidway:
            return copy(p, tasks, count, source.numFramesToProcess / 2.0);
        default:
            return copy(p, tasks, count, source.numFramesToProcess + 1.0);
    }
}

VstIntPtr prepare(Probe& p, VstOfflineTask* tasks, VstInt32 count) {
    ++p.seen.prepareCalls;
    p.seen.preparedCount = count;
    for (int i = 0; i < count && i < 2; ++i) p.seen.prepared[i] = tasks[i];
    if (p.scenario == probe::kRefusePrepare || tasks == nullptr || count < 1) return 0;
    std::strcpy(tasks[0].processName, "Probe copy");
    if (count > 1) {
        tasks[1].numDestinationChannels = p.newFileChannels != 0 ? p.newFileChannels : tasks[0].numSourceChannels;
        tasks[1].destinationSampleRate = tasks[0].sourceSampleRate;
    }
    return 1;
}

VstIntPtr notify(Probe& p, VstAudioFile* files, VstInt32 count, bool startRequested) {
    ++p.seen.notifications;
    if (p.insideHostCalls > 0) ++p.seen.notificationsInsideCalls;
    p.seen.lastNotifyCount = count;
    p.seen.lastNotifyStart = startRequested ? 1 : 0;
    if (files != nullptr && count > 0) p.seen.lastFile = files[0];
    if (startRequested) return start(p, files, count, 1);
    if (p.scenario == probe::kRequeryForever) callHost(p, audioMasterOfflineRead, 1, kVstOfflineQueryFiles, nullptr);
    if (p.pendingNewFiles >= 0) {
        const int newFiles = p.pendingNewFiles;
        p.pendingNewFiles = -1;
        start(p, files, count, newFiles);
    }
    return files != nullptr && count > 0 ? 1 : 0;
}

VstIntPtr probeCommand(Probe& p, VstIntPtr command, void* ptr, float opt) {
    switch (command) {
        case probe::kObservations:
            if (ptr == nullptr) return 0;
            *static_cast<probe::Observations**>(ptr) = &p.seen;
            return 1;
        case probe::kSetScenario:
            p.scenario = static_cast<int>(opt);
            return 1;
        case probe::kRequestTask:
            p.pendingNewFiles = static_cast<int>(opt);
            return callHost(p, audioMasterOfflineRead, 1, kVstOfflineQueryFiles, nullptr);
        case probe::kSetNewFileChannels:
            p.newFileChannels = static_cast<int>(opt);
            return 1;
        default:
            return 0;
    }
}

void copyText(void* ptr, const char* text) {
    if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), text);
}

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    Probe& p = *probeOf(effect);
    static const char* const parameterNames[] = {"Gain", "Mix"};
    static const char* const parameterLabels[] = {"dB", "%"};
    static const char* const programNames[] = {"First", "Second", "Third"};
    switch (opcode) {
        case effClose:
            delete &p;
            return 1;
        case effOfflineNotify:
            return notify(p, static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value), index != 0);
        case effOfflinePrepare:
            return prepare(p, static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value));
        case effOfflineRun:
            ++p.seen.runCalls;
            return run(p, static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)) ? 1 : 0;
        case effVendorSpecific:
            if (index == probe::kMagic) return probeCommand(p, value, ptr, opt);
            // Under wowfix-host the probe takes any curve, like wowfix would.
            if (index == wowfix::vendor::kMagic && value == wowfix::vendor::kLoadCurve) return 1;
            return 0;
        case effGetEffectName:
            copyText(ptr, "Probe");
            return 1;
        case effGetVendorString:
            copyText(ptr, "hostsim tests");
            return 1;
        case effGetProductString:
            copyText(ptr, "Protocol probe");
            return 1;
        case effGetVendorVersion:
            return 7;
        case effGetVstVersion:
            return 2400;
        case effGetPlugCategory:
            return kPlugCategOfflineProcess;
        case effGetParamName:
            if (index >= 0 && index < 2) copyText(ptr, parameterNames[index]);
            return 0;
        case effGetParamLabel:
            if (index >= 0 && index < 2) copyText(ptr, parameterLabels[index]);
            return 0;
        case effGetParamDisplay:
            if (index >= 0 && index < 2) copyText(ptr, index == 0 ? "-6.0" : "75");
            return 0;
        case effSetProgram:
            if (value >= 0 && value < 3) p.program = static_cast<int>(value);
            return 0;
        case effGetProgram:
            return p.program;
        case effGetProgramName:
            copyText(ptr, programNames[p.program]);
            return 0;
        case effCanDo:
            if (ptr == nullptr) return 0;
            if (std::strcmp(static_cast<const char*>(ptr), "offline") == 0) return 1;
            if (std::strcmp(static_cast<const char*>(ptr), "receiveVstEvents") == 0) return -1;
            return 0;
        default:
            return 0;
    }
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < 2 ? probeOf(effect)->parameters[index] : 0.0f;
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 0 && index < 2) probeOf(effect)->parameters[index] = value;
}

AEffect* createProbe(audioMasterCallback master) {
    if (master == nullptr) return nullptr;
    auto* p = new Probe;
    p->master = master;
    p->seen.versionAtEntry = master(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    if (const char* scenario = std::getenv("HOSTSIM_PROBE_SCENARIO")) p->scenario = std::atoi(scenario);
    AEffect& e = p->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatch;
    e.getParameter = getParameter;
    e.setParameter = setParameter;
    e.numPrograms = 3;
    e.numParams = 2;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsCanReplacing | (1 << 30);
    e.object = p;
    e.uniqueID = static_cast<VstInt32>(0x50726F62);  // 'Prob'
    e.version = 3;
    return &e;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* probeMain(audioMasterCallback master) __asm__("main");
AEffect* probeMain(audioMasterCallback master) { return createProbe(master); }
