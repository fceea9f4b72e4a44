#pragma once

namespace wowfix {

class FrequencyView;
class SpectrogramStore;
struct EditorView;

// What a view scroll bar is set to: range, page and position together, and
// whether it can scroll at all (a bar that cannot is disabled).
struct ScrollBarSettings {
    int minimum = 0;
    int maximum = 100;
    int page = 2;
    int position = 50;
    bool canScroll = true;
};

// Time bar: timeHalfSpan ... totalSamples, page timeHalfSpan, at timeCentre.
ScrollBarSettings timeBarSettings(const EditorView& view);
// Frequency bar: halfSpan ... maxFrequency, page halfSpan, at maxFrequency -
// centre (high frequencies at the top).
ScrollBarSettings frequencyBarSettings(const FrequencyView& view, int maxFrequency);
// Reference-line bar: bottomFrequency ... topFrequency, page 2, inverted.
ScrollBarSettings referenceBarSettings(const SpectrogramStore& store);

// The position a scroll request (SB_LINEUP ... SB_THUMBTRACK) leads to from
// `current`, within minimum ... maximum. Vertical bars step by half a page,
// the horizontal one by -1 and +100 frames.
int scrolledPosition(const ScrollBarSettings& bar, int request, int trackPosition, bool vertical);

}  // namespace wowfix
