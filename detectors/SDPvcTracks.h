#pragma once

#include <cstdint>
#include <vector>

namespace wowfix {

class SDPvcFrame;

// A partial followed from frame to frame: the bin of every frame from
// startFrame to lastFrame, and the bin, frequency and level of its last frame
// (what the next continuation is judged against).
struct PartialTrack {
    int startFrame = -1;
    int lastFrame = -1;
    int bin = -1;
    float frequency = -1.0f;
    float level = 100.0f;
    bool alive = false;
    std::vector<std::uint16_t> bins;  // bins[f - startFrame]

    int length() const { return lastFrame - startFrame + 1; }
};

// Links the peaks of consecutive frames into tracks.
//
// Each frame, every live track (oldest first, so an older track wins a peak
// two could take) looks for its continuation among the unclaimed candidates
// within 100 Hz of its frequency: bF is the nearest in frequency, bL in
// level, bP in phase (ties to the lower bin). It continues to bF when bF = bP
// and bP's phase deviation passes, to bP when bF != bP = bL and it passes, to
// bF when bL = bF != bP and bF's passes; otherwise the track ends. A deviation
// passes when it is below 1 radian. Selected peaks no track took then open new
// tracks, strongest first.
//
// Tables are bounded: finished tracks too short to count (shorter than
// minTrackFrames or than 5 % of the frames) are dropped, and the tracks hold
// at most maxEntries frame entries together. Going beyond that, or running out
// of memory, makes addFrame answer false and leaves the tracker failed.
class SDPvcTracks {
public:
    static constexpr int maxFrequencyJump = 100;  // Hz
    static constexpr float phaseTolerance = 0.8f;
    static constexpr int minTrackFrames = 10;
    static constexpr long long maxEntries = 1LL << 23;

    // A new run of `frameTotal` frames with `hop` samples between frames,
    // the tracks holding at most `entryLimit` (<= maxEntries) frame entries.
    void begin(int frameTotal, int hop, long long entryLimit = maxEntries);
    // Links the peaks of the frame just analysed; the frame's claim flags
    // record which peaks were taken. False once the tables are full.
    bool addFrame(SDPvcFrame& frame);

    int frameIndex() const { return frameIndex_; }
    bool failed() const { return failed_; }
    int liveCount() const { return liveCount_; }
    long long entries() const { return entries_; }
    const std::vector<PartialTrack>& tracks() const { return tracks_; }
    // Hands the tracks over (for grouping) and empties the table.
    std::vector<PartialTrack> takeTracks();

    // The continuation of a track at (prevBin, prevFrequency, prevLevel) among
    // the frame's free candidates: an index into the candidate list, or -1.
    static int findContinuation(const SDPvcFrame& frame, int hop, int prevBin, float prevFrequency, float prevLevel);

private:
    bool continueTracks(SDPvcFrame& frame);
    bool startTracks(SDPvcFrame& frame);
    void dropShortFinished();
    bool record(PartialTrack& track, const SDPvcFrame& frame, int bin);

    std::vector<PartialTrack> tracks_;
    int frameTotal_ = 0;
    int hop_ = 1;
    int frameIndex_ = -1;
    int liveCount_ = 0;
    long long entries_ = 0;
    long long entryLimit_ = maxEntries;
    bool failed_ = false;
    bool someoneEnded_ = false;
};

}  // namespace wowfix
