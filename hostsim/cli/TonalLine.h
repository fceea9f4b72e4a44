#pragma once
// The tonal line that the centre-of-gravity algorithm follows: "--line
// START:FREQ:END", START and END in seconds of the file, FREQ the line's
// frequency in Hz at START.

#include <string>

namespace wowfix::hostsim {

struct TonalLine {
    bool given = false;
    double start = 0.0;      // s
    double frequency = 0.0;  // Hz at `start`
    double end = 0.0;        // s
    std::string text;        // as written
};

// Reads `text` (when `given`) into `line` and checks that the option and the
// algorithm go together: cog needs a line, the other algorithms take none.
// False with a one-line `error` otherwise.
bool readTonalLine(bool given, const std::string& text, const std::string& algorithm, TonalLine& line,
                   std::string& error);

// Whether the line lies inside a file of `frames` at `sampleRate`, with its
// frequency below half the rate. False with `error` telling why not.
bool tonalLineFits(const TonalLine& line, double frames, double sampleRate, std::string& error);

}  // namespace wowfix::hostsim
