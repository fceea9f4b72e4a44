#include "detectors/SDPvcTracks.h"

#include "detectors/SDPvcFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace wowfix {

void SDPvcTracks::begin(int frameTotal, int hop, long long entryLimit) {
    entryLimit_ = std::clamp(entryLimit, 0LL, maxEntries);
    std::vector<PartialTrack>().swap(tracks_);
    frameTotal_ = std::max(frameTotal, 0);
    hop_ = std::max(hop, 1);
    frameIndex_ = -1;
    liveCount_ = 0;
    entries_ = 0;
    failed_ = false;
    someoneEnded_ = false;
}

std::vector<PartialTrack> SDPvcTracks::takeTracks() {
    std::vector<PartialTrack> out;
    out.swap(tracks_);
    liveCount_ = 0;
    entries_ = 0;
    return out;
}

bool SDPvcTracks::addFrame(SDPvcFrame& frame) {
    if (failed_) return false;
    ++frameIndex_;
    if (!continueTracks(frame) || !startTracks(frame)) {
        failed_ = true;
        return false;
    }
    if (someoneEnded_) dropShortFinished();
    frame.keepPhase();
    return true;
}

bool SDPvcTracks::record(PartialTrack& track, const SDPvcFrame& frame, int bin) {
    if (entries_ >= entryLimit_) return false;
    try {
        track.bins.push_back(static_cast<std::uint16_t>(bin));
    } catch (const std::bad_alloc&) {
        return false;
    }
    ++entries_;
    track.bin = bin;
    track.frequency = frame.binFrequency(bin);
    track.level = frame.level(bin);
    track.lastFrame = frameIndex_;
    return true;
}

int SDPvcTracks::findContinuation(const SDPvcFrame& frame, int hop, int prevBin, float prevFrequency,
                                  float prevLevel) {
    const std::vector<int>& candidates = frame.candidates();
    const std::vector<char>& free = frame.candidateFree();
    // Candidates ascend in bin and so in frequency: start at the first one
    // within the jump below.
    const auto first = std::lower_bound(candidates.begin(), candidates.end(), prevFrequency - maxFrequencyJump,
                                        [&frame](int bin, float f) { return frame.binFrequency(bin) <= f; });
    int bF = -1, bL = -1, bP = -1;
    int dFmin = 0, dLmin = 0, dPmin = 0;
    int dPofBF = 0;
    for (auto it = first; it != candidates.end(); ++it) {
        const size_t i = static_cast<size_t>(it - candidates.begin());
        const int c = *it;
        const double jump = std::trunc(static_cast<double>(prevFrequency) - frame.binFrequency(c));
        if (-jump >= maxFrequencyJump) break;
        if (free[i] == 0) continue;
        const int dF = static_cast<int>(std::fabs(jump));
        if (dF >= maxFrequencyJump) continue;
        const int dL = static_cast<int>(std::fabs(std::trunc(static_cast<double>(prevLevel) - frame.level(c))));
        const int dP = frame.phaseDeviation(prevBin, c, hop);
        if (bF < 0 || dF < dFmin) { bF = static_cast<int>(i); dFmin = dF; dPofBF = dP; }
        if (bL < 0 || dL < dLmin) { bL = static_cast<int>(i); dLmin = dL; }
        if (bP < 0 || dP < dPmin) { bP = static_cast<int>(i); dPmin = dP; }
    }
    if (bF < 0) return -1;
    const bool phaseOk = dPmin < phaseTolerance;
    if (bF == bP && phaseOk) return bF;
    if (bF != bP && bL == bP && phaseOk) return bP;
    if (bF == bP || bL != bF) return -1;
    return dPofBF < phaseTolerance ? bF : -1;
}

bool SDPvcTracks::continueTracks(SDPvcFrame& frame) {
    std::vector<char>& candidateFree = frame.candidateFree();
    const std::vector<int>& selected = frame.selected();
    std::vector<char>& selectedFree = frame.selectedFree();
    for (PartialTrack& track : tracks_) {
        if (!track.alive) continue;
        const int i = findContinuation(frame, hop_, track.bin, track.frequency, track.level);
        if (i < 0) {
            track.alive = false;
            --liveCount_;
            someoneEnded_ = true;
            continue;
        }
        const int bin = frame.candidates()[static_cast<size_t>(i)];
        if (!record(track, frame, bin)) return false;
        candidateFree[static_cast<size_t>(i)] = 0;
        for (size_t s = 0; s < selected.size(); ++s)
            if (selected[s] == bin) selectedFree[s] = 0;
    }
    return true;
}

bool SDPvcTracks::startTracks(SDPvcFrame& frame) {
    const std::vector<int>& selected = frame.selected();
    std::vector<char>& selectedFree = frame.selectedFree();
    for (size_t s = 0; s < selected.size(); ++s) {
        if (selectedFree[s] == 0) continue;
        try {
            tracks_.emplace_back();
        } catch (const std::bad_alloc&) {
            return false;
        }
        PartialTrack& track = tracks_.back();
        track.startFrame = frameIndex_;
        track.alive = true;
        ++liveCount_;
        if (!record(track, frame, selected[s])) return false;
        selectedFree[s] = 0;
    }
    return true;
}

void SDPvcTracks::dropShortFinished() {
    someoneEnded_ = false;
    const double minimum = std::max<double>(minTrackFrames, 0.05 * frameTotal_);
    const auto useless = [minimum](const PartialTrack& t) { return !t.alive && t.length() < minimum; };
    for (const PartialTrack& t : tracks_)
        if (useless(t)) entries_ -= static_cast<long long>(t.bins.size());
    tracks_.erase(std::remove_if(tracks_.begin(), tracks_.end(), useless), tracks_.end());
}

}  // namespace wowfix
