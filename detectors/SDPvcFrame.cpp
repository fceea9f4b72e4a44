#include "detectors/SDPvcFrame.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
// Power floor: a bin of exactly zero reads -300 dB, not minus infinity.
constexpr double kPowerFloor = 1e-30;
}  // namespace

bool SDPvcFrame::configure(int frameLength, double sampleRate, float bandLow, float bandHigh) {
    release();
    if (frameLength < 4 || !HartleyTransform::isSupportedLength(8 * frameLength) || !(sampleRate > 0.0)) return false;
    n_ = frameLength;
    m_ = 8 * frameLength;
    bandLow_ = bandLow;
    bandHigh_ = bandHigh;
    try {
        const size_t half = static_cast<size_t>(m_ / 2);
        window_.resize(static_cast<size_t>(n_));
        binFrequency_.resize(half + 1);
        re_.resize(static_cast<size_t>(m_));
        im_.resize(static_cast<size_t>(m_));
        level_.assign(half, -300.0f);
        phase_.assign(half, 0.0f);
        previousPhase_.assign(half, 0.0f);
        candidates_.reserve(half / 2 + 1);
        candidateFree_.reserve(half / 2 + 1);
        selected_.reserve(half / 2 + 1);
        selectedFree_.reserve(half / 2 + 1);
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    windowSum_ = 0.0;
    for (int i = 0; i < n_; ++i) {
        const double w = 0.54 - 0.46 * std::cos(2.0 * kPi * i / (n_ - 1));
        window_[static_cast<size_t>(i)] = static_cast<float>(w);
        windowSum_ += static_cast<float>(w);
    }
    for (int k = 0; k <= m_ / 2; ++k) binFrequency_[static_cast<size_t>(k)] = static_cast<float>(sampleRate * k / m_);
    const double nyquist = sampleRate / 2.0;
    const double limit = nyquist >= bandHigh + searchMargin ? bandHigh + searchMargin : nyquist;
    limitBin_ = 0;
    while (limitBin_ < m_ / 2 && binFrequency_[static_cast<size_t>(limitBin_)] < limit) ++limitBin_;
    return true;
}

void SDPvcFrame::release() {
    n_ = m_ = 0;
    for (auto* v : {&window_, &binFrequency_, &re_, &im_, &level_, &phase_, &previousPhase_}) std::vector<float>().swap(*v);
    std::vector<int>().swap(candidates_);
    std::vector<int>().swap(selected_);
    std::vector<char>().swap(candidateFree_);
    std::vector<char>().swap(selectedFree_);
}

void SDPvcFrame::analyse(const float* x) {
    transform(x);
    pickPeaks();
    selectPeaks();
}

void SDPvcFrame::transform(const float* x) {
    std::fill(re_.begin(), re_.end(), 0.0f);
    std::fill(im_.begin(), im_.end(), 0.0f);
    // Zero-phase placement: the second half of the windowed frame at the
    // start, the first half at the end, zeros between.
    const int half = n_ / 2;
    for (int k = 0; k < half; ++k) {
        re_[static_cast<size_t>(k)] = x[half + k] * window_[static_cast<size_t>(half + k)];
        re_[static_cast<size_t>(m_ - half + k)] = x[k] * window_[static_cast<size_t>(k)];
    }
    fft_.complexFft(m_, re_.data(), im_.data());
    const double scale = 1.0 / windowSum_;
    for (int k = 0; k < m_ / 2; ++k) {
        const double re = re_[static_cast<size_t>(k)] * scale;
        const double im = im_[static_cast<size_t>(k)] * scale;
        level_[static_cast<size_t>(k)] = static_cast<float>(10.0 * std::log10(std::max(re * re + im * im, kPowerFloor)));
        phase_[static_cast<size_t>(k)] = static_cast<float>(std::atan2(im, re));
    }
}

void SDPvcFrame::pickPeaks() {
    candidates_.clear();
    candidateFree_.clear();
    const int last = std::min(limitBin_, m_ / 2 - 1);  // bin k + 1 must exist
    for (int k = 1; k < last; ++k) {
        const float l = level_[static_cast<size_t>(k)];
        if (l > level_[static_cast<size_t>(k - 1)] && l > level_[static_cast<size_t>(k + 1)]) {
            candidates_.push_back(k);
            candidateFree_.push_back(1);
        }
    }
}

void SDPvcFrame::selectPeaks() {
    selected_.clear();
    selectedFree_.clear();
    const size_t usable = candidates_.empty() ? 0 : candidates_.size() - 1;
    for (size_t i = 0; i < usable; ++i) {
        const int k = candidates_[i];
        const float f = binFrequency_[static_cast<size_t>(k)];
        if (level_[static_cast<size_t>(k)] >= levelFloor && bandLow_ <= f && f <= bandHigh_) selected_.push_back(k);
    }
    std::stable_sort(selected_.begin(), selected_.end(), [this](int a, int b) {
        return level_[static_cast<size_t>(a)] > level_[static_cast<size_t>(b)];
    });
    if (selected_.size() > static_cast<size_t>(maxSelected)) selected_.resize(maxSelected);
    selectedFree_.assign(selected_.size(), 1);
}

void SDPvcFrame::keepPhase() { previousPhase_ = phase_; }

int SDPvcFrame::phaseDeviation(int b0, int b1, int hop) const {
    const double expected = static_cast<double>(previousPhase_[static_cast<size_t>(b0)]) +
                            2.0 * kPi * static_cast<double>(b0) * hop / m_;
    const double d = std::remainder(static_cast<double>(phase_[static_cast<size_t>(b1)]) - expected, 2.0 * kPi);
    return static_cast<int>(std::fabs(std::trunc(d)));
}

}  // namespace wowfix
