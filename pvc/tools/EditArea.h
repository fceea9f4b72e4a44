#pragma once

namespace wowfix {

// The processing area the user marks on the spectrogram for the
// spectral-domain detector: a frequency band and a range of the store's
// column samples (without the view's offset), in ascending order.
struct EditArea {
    float lowFrequency = 0.0f;
    float highFrequency = 0.0f;
    int start = 0;
    int end = 0;
    bool selected = false;
};

}  // namespace wowfix
