#pragma once

namespace wowfix {

// What the tone tracker carries from frame to frame of one run and the caller
// keeps: a fresh (value-initialised) state for every run. ToneTracker::startRun
// clears it.
struct TrackerRunState {
    // Frames analysed since the reference frame (the first frame with a peak),
    // that frame included; the predictive path takes over from the tenth.
    int frameCount = 0;
    // Frequencies in Hz of the last three analysed frames, oldest first.
    double history[3] = {0.0, 0.0, 0.0};
    // Consecutive predictive frames that stayed within 200 Hz of the position
    // the simple path found last.
    int nearCount = 0;
    // Consecutive predictive frames without an accepted result; at 10 the
    // tracker gives up the prediction and searches the whole band again.
    int missCount = 0;
};

}  // namespace wowfix
