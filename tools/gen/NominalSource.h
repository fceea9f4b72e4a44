#pragma once
// A programme given as samples at its own nominal rate rather than as a
// formula: noise, or the audio of an input file. WarpedResampler plays it at
// the damaged speed.

#include <string>

namespace wowfix::gen {

class NominalSource {
public:
    virtual ~NominalSource() = default;
    virtual int channels() const = 0;
    virtual double sampleRate() const = 0;
    // Fills up to `frames` interleaved frames; answers the number filled, 0
    // at the end of the programme, −1 on failure (with `error` set).
    virtual long read(float* interleaved, long frames, std::string& error) = 0;
};

}  // namespace wowfix::gen
