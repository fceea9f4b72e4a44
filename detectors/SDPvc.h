#pragma once

#include "detectors/PvcDetector.h"
#include "detectors/SDPvcFrame.h"
#include "detectors/SDPvcGroups.h"
#include "detectors/SDPvcResult.h"
#include "detectors/SDPvcSettings.h"
#include "detectors/SDPvcTracks.h"

#include <string>
#include <vector>

namespace wowfix {

// The spectral-domain detector: the speed curve of an area of the programme
// from the partials of the music in a frequency band.
//
// A run is beginAnalysis, process for consecutive blocks of the area's mono
// samples, groupTracks, combineGroups. Frames of N samples, one every hop,
// are analysed (SDPvcFrame), their peaks linked into tracks (SDPvcTracks),
// the tracks gathered into groups that follow one tone each (groupTracks),
// and each frame gets the speed ratio of its best-supported group
// (SDPvcResult): the group's frequency divided by the median of its segment.
// The frequencies are bin centres, fs / (8 N) apart.
//
// A run latches N and hop: parameters set during or after it take effect at
// the next one, and the result keeps the positions of its own analysis.
// "Confidence" (parameter 2, or applyConfidence) only re-derives the mask.
// The groups and the result stay until the next beginAnalysis.
class SDPvc final : public PvcDetector {
public:
    SDPvc();

    int getNumParams() const override { return SDPvcSettings::paramCount; }
    float getParameter(int index) const override;
    bool setParameter(int index, float value) override;
    float getParameterDisplayValue(int index) const override;
    const char* parameterName(int index) const override { return SDPvcSettings::name(index); }
    const char* parameterLabel(int index) const override { return SDPvcSettings::label(index); }

    // The block length the run task feeds: N of the current settings.
    int blockLength() const { return settings_.frameLength; }

    // Frames a stretch of `samples` holds: (samples - N) div hop + 1, or 0
    // when it is shorter than one frame.
    static int framesIn(long long samples, int frameLength, int hop);

    // Starts a run over `totalSamples` samples at `sampleRate` looking for
    // tones in [bandLow, bandHigh]. False, with lastMessage saying why, for an
    // area shorter than one frame, a band that is empty or lies above fs / 2,
    // or no memory.
    bool beginAnalysis(int sampleRate, float bandLow, float bandHigh, long long totalSamples);
    // Takes `count` samples (the mean of `channels` inputs) and writes 1.0 to
    // every output. False for bad arguments, outside a run, or once the run
    // has failed (lastMessage says why). Samples past the area are ignored.
    bool process(int count, int channels, const float* const* inputs, float* const* outputs);
    // After the last block: groups the tracks (releasing the frame tables).
    bool groupTracks();
    // The result with the current mask.
    bool combineGroups();
    void applyConfidence(float c);

    bool hasResult() const { return hasResult_; }
    int resultCount() const { return result_.count(); }
    float resultValue(int i) const { return result_.value(i); }
    int resultPosition(int i) const { return result_.position(i); }

    int groupCount() const { return static_cast<int>(groups_.size()); }
    // The smoothed frequency of group g at frame f; -1.0 when out of range,
    // not covered or masked.
    float groupFrequencyAt(int g, int f) const;
    int analysisFrameCount() const { return framesAnalysed_; }
    int analysisFrameLength() const { return runLength_; }
    int analysisHop() const { return runHop_; }
    int frameTotal() const { return frameTotal_; }
    const SDPvcTracks& tracks() const { return tracks_; }
    const std::vector<PartialTrack>& finishedTracks() const { return finished_; }
    const std::string& lastMessage() const { return message_; }

private:
    bool fail(const char* why);
    void analyseFrame(const float* x);

    float params_[SDPvcSettings::paramCount] = {};
    SDPvcSettings settings_;
    float threshold_ = 0.0f;

    // The run.
    bool running_ = false;
    bool failed_ = false;
    int runLength_ = 0;
    int runRate_ = 0;
    int runHop_ = 1;
    int runOverlap_ = 0;
    int frameTotal_ = 0;
    int framesAnalysed_ = 0;
    std::vector<float> ring_;  // 2 N
    int writeIndex_ = 0;
    int frameStart_ = 0;
    SDPvcFrame frame_;
    SDPvcTracks tracks_;

    // After the run.
    std::vector<PartialTrack> finished_;
    std::vector<PartialGroup> groups_;
    SDPvcResult result_;
    bool hasResult_ = false;
    std::string message_;
};

}  // namespace wowfix
