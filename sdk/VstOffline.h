#pragma once
// The offline-processing extension of the VST 2.x interface: the audio-file and
// task records in their published layouts, with their flags and options.

#include "sdk/VstTypes.h"

#if defined(_WIN32) || defined(__GNUC__)
#pragma pack(push, 8)
#endif

enum VstAudioFileFlags {
    kVstOfflineReadOnly = 1 << 0,
    kVstOfflineNoRateConversion = 1 << 1,
    kVstOfflineNoChannelChange = 1 << 2,
    kVstOfflineCanProcessSelection = 1 << 10,
    kVstOfflineNoCrossfade = 1 << 11,
    kVstOfflineWantRead = 1 << 12,
    kVstOfflineWantWrite = 1 << 13,
    kVstOfflineWantWriteMarker = 1 << 14,
    kVstOfflineWantMoveCursor = 1 << 15,
    kVstOfflineWantSelect = 1 << 16,
};

// One audio file as the host describes it.
struct VstAudioFile {
    VstInt32 flags;
    void* hostOwned;
    void* plugOwned;
    char name[100];
    VstInt32 uniqueId;
    double sampleRate;
    VstInt32 numChannels;
    double numFrames;
    VstInt32 format;
    double editCursorPosition;
    double selectionStart;
    double selectionSize;
    VstInt32 selectedChannelsMask;
    VstInt32 numMarkers;
    VstInt32 timeRulerUnit;
    double timeRulerOffset;
    double tempo;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 ticksPerBlackNote;
    VstInt32 smpteFrameRate;
    char future[64];
};

struct VstAudioFileMarker {
    double position;
    char name[32];
    VstInt32 type;
    VstInt32 id;
    VstInt32 reserved;
};

enum VstOfflineTaskFlags {
    kVstOfflineUnvalidParameter = 1 << 0,
    kVstOfflineNewFile = 1 << 1,
    kVstOfflinePlugError = 1 << 10,
    kVstOfflineInterleavedAudio = 1 << 11,
    kVstOfflineTempOutputFile = 1 << 12,
    kVstOfflineFloatOutputFile = 1 << 13,
    kVstOfflineRandomWrite = 1 << 14,
    kVstOfflineStretch = 1 << 15,
    kVstOfflineNoThread = 1 << 16,
};

// One unit of offline work: a source file being read or a new file being written.
struct VstOfflineTask {
    char processName[96];
    double readPosition;
    double writePosition;
    VstInt32 readCount;
    VstInt32 writeCount;
    VstInt32 sizeInputBuffer;
    VstInt32 sizeOutputBuffer;
    void* inputBuffer;   // float*[numSourceChannels]
    void* outputBuffer;  // float*[numDestinationChannels]
    double positionToProcessFrom;
    double numFramesToProcess;
    double maxFramesToWrite;
    void* extraBuffer;
    VstInt32 value;
    VstInt32 index;
    double numFramesInSourceFile;
    double sourceSampleRate;
    double destinationSampleRate;
    VstInt32 numSourceChannels;
    VstInt32 numDestinationChannels;
    VstInt32 sourceFormat;
    VstInt32 destinationFormat;
    char outputText[512];
    double progress;
    VstInt32 progressMode;
    char progressText[100];
    VstInt32 flags;
    VstInt32 returnValue;
    void* hostOwned;
    void* plugOwned;
    char future[1024];
};

enum VstOfflineOption {
    kVstOfflineAudio = 0,
    kVstOfflinePeaks,
    kVstOfflineParameter,
    kVstOfflineMarker,
    kVstOfflineCursor,
    kVstOfflineSelection,
    kVstOfflineQueryFiles,
};

#if defined(_WIN32) || defined(__GNUC__)
#pragma pack(pop)
#endif
