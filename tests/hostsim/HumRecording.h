#pragma once
// The hum recording the hum round trips work on: a 1 kHz programme on a tape
// that wows by 0.3 % at 0.5 Hz, with a steady 50 Hz hum recorded onto the
// tape, mono at 48 kHz.

#include "tools/gen/GeneratorSettings.h"

namespace hostsim_test {

inline wowfix::gen::GeneratorSettings humOnTapeSettings(double seconds) {
    wowfix::gen::GeneratorSettings settings;
    settings.sampleRate = 48000;
    settings.channels = 1;
    settings.seconds = seconds;
    settings.programme.kind = wowfix::gen::ProgrammeKind::Sines;
    settings.programme.tones = {{1000.0, -20.0}};
    settings.wow = {0.3, 0.5};
    settings.hum = wowfix::gen::ToneLevel{50.0, -20.0};
    settings.humOnTape = true;
    settings.humDriftPercent = 0.0;
    return settings;
}

}  // namespace hostsim_test
