#pragma once

namespace wowfix {

class SpectrogramStore;

// The frequency view: centre and half width in whole hertz. The store keeps
// every bin, so each change is shown at once by its setFrequencyRange; the
// centre and half span then follow the band the store really shows.
class FrequencyView {
public:
    int centre() const { return centre_; }
    int halfSpan() const { return halfSpan_; }

    // Half the width, never below minFrequencySpan, kept inside
    // minFrequency ... maxFrequency.
    void zoomIn(SpectrogramStore& store);
    // Twice the width, cut at both limits.
    void zoomOut(SpectrogramStore& store);
    // The same width centred at `centre`, shifted back inside the limits;
    // false, changing nothing, when the band is wider than the spectrum.
    bool scrollTo(SpectrogramStore& store, int centre);
    // Centre and half span of the store's bottomFrequency ... topFrequency.
    void fromBounds(const SpectrogramStore& store);

private:
    bool show(SpectrogramStore& store, double lo, double hi);

    int centre_ = 0;
    int halfSpan_ = 0;
};

}  // namespace wowfix
