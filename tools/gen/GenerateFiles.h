#pragma once
// Writes a damaged recording and its true curve: the audio file (lossless,
// 32-bit float where the container holds it) and the .pvc beside it. Both
// are written beside their final names and renamed into place only when
// everything succeeded.

#include <cstdint>
#include <string>

#include "tools/gen/GeneratorSettings.h"

namespace wowfix::gen {

struct OutputTargets {
    std::string audioPath;
    std::string pvcPath;
    std::string format;  // container name; empty: from the audio path's extension, else WAV
};

struct GenerationSummary {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0;
    double peak = 0.0;      // largest sample magnitude
    std::string container;  // e.g. "wav"
    std::string encoding;   // e.g. "32-bit float"
};

bool generateFiles(const GeneratorSettings& settings, const OutputTargets& targets, GenerationSummary& summary,
                   std::string& error);

}  // namespace wowfix::gen
