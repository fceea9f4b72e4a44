#pragma once

namespace wowfix {

// The processing area the user marks on the spectrogram for the
// spectral-domain detector: a frequency band and a range of file positions
// (the samples under the columns, view offset included), in ascending order.
// `selected` only for an area that spans some samples and some band.
struct EditArea {
    float lowFrequency = 0.0f;
    float highFrequency = 0.0f;
    int start = 0;
    int end = 0;
    bool selected = false;
};

}  // namespace wowfix
