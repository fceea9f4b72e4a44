#pragma once

namespace wowfix {

// Maps a speed ratio to the pixel row of the spectrogram panel on which a tone
// at the reference frequency, multiplied by that ratio, would appear. The curve
// lays its points out through this mapping; the spectrogram store provides it.
class ValueRowMap {
public:
    virtual ~ValueRowMap() = default;
    virtual int rowOfValue(float value) const = 0;
};

}  // namespace wowfix
