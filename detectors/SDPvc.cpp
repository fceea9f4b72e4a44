#include "detectors/SDPvc.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace wowfix {

SDPvc::SDPvc() {
    for (int i = 0; i < SDPvcSettings::paramCount; ++i) setParameter(i, SDPvcSettings::defaultValue(i));
}

float SDPvc::getParameter(int index) const { return isParameterIndex(index) ? params_[index] : 0.0f; }

bool SDPvc::setParameter(int index, float value) {
    float stored = 0.0f;
    if (!isParameterIndex(index) || !normalisedValue(value, stored)) return true;
    params_[index] = stored;
    settings_ = SDPvcSettings::fromNormalised(params_);
    if (index == 2) applyConfidence(stored);
    return true;
}

float SDPvc::getParameterDisplayValue(int index) const {
    return isParameterIndex(index) ? SDPvcSettings::displayValue(index, params_[index]) : 0.0f;
}

int SDPvc::framesIn(long long samples, int frameLength, int hop) {
    if (frameLength < 1 || hop < 1 || samples < frameLength) return 0;
    const long long frames = (samples - frameLength) / hop + 1;
    return static_cast<int>(std::min<long long>(frames, 0x7fffffff));
}

bool SDPvc::fail(const char* why) {
    message_ = why;
    failed_ = true;
    return false;
}

bool SDPvc::beginAnalysis(int sampleRate, float bandLow, float bandHigh, long long totalSamples) {
    running_ = false;
    failed_ = false;
    hasResult_ = false;
    std::vector<PartialTrack>().swap(finished_);
    std::vector<PartialGroup>().swap(groups_);
    result_.clear();
    framesAnalysed_ = 0;
    message_.clear();

    runLength_ = settings_.frameLength;
    runRate_ = sampleRate;
    runOverlap_ = settings_.overlapSamples;
    runHop_ = settings_.hop();
    frameTotal_ = framesIn(totalSamples, runLength_, runHop_);
    if (frameTotal_ < 1) return fail("The area is shorter than one analysis frame; mark a longer area.");
    if (sampleRate <= 0) return fail("The sampling rate is not known.");
    if (!std::isfinite(bandLow) || !std::isfinite(bandHigh) || bandLow > bandHigh || bandHigh <= 0.0f)
        return fail("The area has no frequency band; mark it again.");
    if (bandLow >= sampleRate / 2.0f) return fail("The area's band lies above half the sampling rate.");
    try {
        ring_.assign(static_cast<size_t>(2 * runLength_), 0.0f);
    } catch (const std::bad_alloc&) {
        return fail("Not enough memory for the analysis.");
    }
    if (!frame_.configure(runLength_, sampleRate, bandLow, bandHigh)) return fail("Not enough memory for the analysis.");
    writeIndex_ = 0;
    frameStart_ = 0;
    tracks_.begin(frameTotal_, runHop_);
    running_ = true;
    return true;
}

bool SDPvc::process(int count, int channels, const float* const* inputs, float* const* outputs) {
    if (count < 0 || channels < 1 || inputs == nullptr) return false;
    for (int ch = 0; ch < channels; ++ch)
        if (inputs[ch] == nullptr) return false;
    if (outputs != nullptr)
        for (int ch = 0; ch < channels; ++ch)
            if (outputs[ch] != nullptr) std::fill(outputs[ch], outputs[ch] + count, 1.0f);
    if (!running_ || failed_) return false;
    const int n = runLength_;
    for (int i = 0; i < count && framesAnalysed_ < frameTotal_; ++i) {
        double sum = 0.0;
        for (int ch = 0; ch < channels; ++ch) sum += inputs[ch][i];
        float x = static_cast<float>(sum / channels);
        if (!std::isfinite(x)) x = 0.0f;
        ring_[static_cast<size_t>(writeIndex_)] = x;
        if (writeIndex_ == 2 * n - 1) {
            std::copy(ring_.begin() + n, ring_.end(), ring_.begin());
            frameStart_ -= n;
            writeIndex_ = n - 1;
        }
        ++writeIndex_;
        if (writeIndex_ - frameStart_ == n) {
            analyseFrame(&ring_[static_cast<size_t>(frameStart_)]);
            if (failed_) return false;
            frameStart_ = writeIndex_ - runOverlap_;
        }
    }
    return true;
}

void SDPvc::analyseFrame(const float* x) {
    frame_.analyse(x);
    if (!tracks_.addFrame(frame_)) {
        fail("The area holds too many partials to follow; mark a shorter area or a narrower band.");
        return;
    }
    ++framesAnalysed_;
}

bool SDPvc::groupTracks() {
    if (!running_ || failed_) return false;
    running_ = false;
    frame_.release();
    std::vector<float>().swap(ring_);
    finished_ = tracks_.takeTracks();
    const double binWidth = static_cast<double>(runRate_) / (SDPvcSettings::zeroPadding * runLength_);
    const auto frequencyOfBin = [binWidth](int bin) { return static_cast<float>(binWidth * bin); };
    if (!wowfix::groupTracks(finished_, framesAnalysed_, frequencyOfBin, groups_))
        return fail("Not enough memory to group the partials of this area.");
    for (PartialTrack& track : finished_) std::vector<std::uint16_t>().swap(track.bins);
    return true;
}

bool SDPvc::combineGroups() {
    if (failed_ || running_ || runLength_ < 1) return false;
    hasResult_ = result_.combine(groups_, threshold_, framesAnalysed_, runLength_, runHop_);
    if (!hasResult_) return fail("Not enough memory for the curve of this area.");
    return true;
}

void SDPvc::applyConfidence(float c) {
    if (c >= 0.0f && c <= 1.0f) threshold_ = c;
}

float SDPvc::groupFrequencyAt(int g, int f) const {
    if (g < 0 || g >= groupCount()) return -1.0f;
    const GroupSegment* segment = groups_[static_cast<size_t>(g)].segmentAt(f);
    if (segment == nullptr || !frameShown(*segment, f, threshold_)) return -1.0f;
    return segment->smoothed[static_cast<size_t>(f - segment->startFrame)];
}

}  // namespace wowfix
