#pragma once
// The band the spectral-domain algorithm searches when the command line
// names none, chosen from the programme itself.

namespace wowfix::hostsim {

class AudioSource;

struct FrequencyBand {
    double low = 0.0;   // Hz
    double high = 0.0;  // Hz
};

// The long-term spectrum of the file (up to 64 Hann-windowed frames of 4096
// mono samples spread evenly over it, their powers averaged) is searched
// between 100 Hz and 5000 Hz (or 500 Hz below half the rate): the band runs
// from the lowest to the highest frequency there whose power is within 30 dB
// of the strongest, so it holds the programme's main partials and leaves out
// what lies far below them. At least 200 Hz wide. The whole search range when
// the file is silent, too short or cannot be read.
FrequencyBand programmeBand(AudioSource& source);

}  // namespace wowfix::hostsim
