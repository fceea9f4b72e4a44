#pragma once
// The damaged recording that GeneratorSettings describe, rendered frame by
// frame. Frame n (time t = n / fs) holds
//
//     programme(τ(n)) + test tone(τ(n)) + pilot(τ(n)) + hum(t)
//
// with τ(n) the warped time of SpeedModel: the programme, the test tone and
// the pilot were recorded together on the damaged medium, so all of them
// carry its speed variation. The hum is picked up while the recording is
// played back, from the mains of the playback room, so it carries none of
// the medium's damage; only its own mains drift. (With `humOnTape` the hum
// was recorded onto the medium and sits at τ(n) like the pilot.) Formula
// programmes and tones are evaluated at τ(n) directly; noise and input files
// go through WarpedResampler.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/gen/GeneratorSettings.h"
#include "tools/gen/MainsHum.h"
#include "tools/gen/SineTones.h"
#include "tools/gen/SpeedModel.h"
#include "tools/gen/WarpedResampler.h"
#include "tools/gen/WarpedSynth.h"

namespace wowfix::gen {

class DamagedRecording {
public:
    // Checks the settings and sets everything up; null with `error` set
    // (one line, no program name) when the settings cannot be met.
    static std::unique_ptr<DamagedRecording> create(const GeneratorSettings& settings, std::string& error);

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    std::int64_t frames() const { return frames_; }
    const SpeedModel& speed() const { return speed_; }

    // Renders the next `count` frames (interleaved) of the file; rendering
    // past frames() is refused.
    bool render(float* interleaved, long count, std::string& error);
    // Largest magnitude of all samples rendered so far.
    double peak() const { return peak_; }

private:
    DamagedRecording() = default;

    int sampleRate_ = 0;
    int channels_ = 0;
    std::int64_t frames_ = 0;
    SpeedModel speed_;
    std::unique_ptr<WarpedSynth> synth_;
    std::unique_ptr<WarpedResampler> resampler_;
    std::optional<SineTones> recordedTones_;  // test tone and pilot
    MainsHum hum_;
    bool humOnTape_ = false;
    std::int64_t next_ = 0;
    double peak_ = 0.0;
    std::vector<double> mix_;
};

}  // namespace wowfix::gen
