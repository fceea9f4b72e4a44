#include "spectral/SpectrogramStore.h"

#include "spectral/WindowFunction.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace wowfix {

namespace {

template <typename T>
std::unique_ptr<T[]> zeroedArray(size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// Largest power of two not above n, n >= 1.
int powerOfTwoAtMost(int n) {
    int p = 1;
    while (p <= n / 2) p *= 2;
    return p;
}

// Rows far outside the panel are still ordered correctly but kept well inside
// the range of int, whatever value is asked for.
constexpr double kRowLimit = 1 << 24;

long long floorToInt(double v) {
    if (!(v > -1e15)) return static_cast<long long>(-1e15);  // also NaN
    if (v > 1e15) return static_cast<long long>(1e15);
    return static_cast<long long>(std::floor(v));
}

}  // namespace

SpectrogramStore::SpectrogramStore() {
    updateFrequencies();
    rebuildWindow();
}

SpectrogramStore::~SpectrogramStore() = default;

// --- Settings ----------------------------------------------------------------

void SpectrogramStore::reset() { freeColumns(); }

void SpectrogramStore::updateFrequencies() {
    maxFrequency_ = static_cast<float>(halfLength_) * sampleRate_ / static_cast<float>(fftLength_);
    binWidth_ = sampleRate_ / static_cast<float>(fftLength_);
}

bool SpectrogramStore::setFftLength(int n) {
    const int length = powerOfTwoAtMost(std::clamp(n, kMinFftLength, kMaxFftLength));
    if (length != fftLength_) {
        // Keep the band shown in Hz; the bins of the old length mean nothing
        // at the new one.
        const float bottom = firstBin_ * binWidth_;
        const float top = lastBin_ * binWidth_;
        fftLength_ = length;
        halfLength_ = length / 2;
        updateFrequencies();
        rebuildWindow();
        if (columnsAllocated_)
            allocateColumns();
        else
            freeColumns();
        applyFrequencyRange(bottom, top);
    } else {
        updateFrequencies();
    }
    referenceFrequency_ = maxFrequency_ / 2.0f;
    return length == n;
}

bool SpectrogramStore::setSampleRate(float fs) {
    if (!std::isfinite(fs) || fs <= 0.0f) return false;
    sampleRate_ = fs;
    updateFrequencies();
    referenceFrequency_ = maxFrequency_ / 2.0f;
    return true;
}

void SpectrogramStore::setWindowType(int type) {
    windowType_ = effectiveWindowType(type);
    rebuildWindow();
}

void SpectrogramStore::rebuildWindow() { fillWindow(windowType_, window_, fftLength_); }

void SpectrogramStore::setColumnCount(int n) {
    const int count = std::clamp(n, 0, kMaxColumns);
    if (count == columns_) return;
    columns_ = count;
    if (columnsAllocated_) allocateColumns();
}

void SpectrogramStore::setRowCount(int n) {
    rows_ = std::clamp(n, 0, kMaxRows);
    updateBinsPerRow();
}

void SpectrogramStore::setDbRange(float range) {
    if (std::isnan(range)) return;
    dbRange_ = std::clamp(range, kMinDbRange, kMaxDbRange);
    floorAmplitude_ = static_cast<float>(std::pow(10.0, -static_cast<double>(dbRange_) / 20.0));
    floorPowerInverse_ = 1.0f / (floorAmplitude_ * floorAmplitude_);
    // Keep lowDb < highDb <= dbRange when the range shrinks under them.
    if (highDb_ > dbRange_) setHighDb(highDb_);
    if (lowDb_ > dbRange_ - 1.0f) setLowDb(lowDb_);
}

void SpectrogramStore::setLowDb(float value) {
    if (std::isnan(value)) return;
    lowDb_ = std::min(value, dbRange_ - 1.0f);
    if (lowDb_ >= highDb_) highDb_ = lowDb_ + 1.0f;
}

void SpectrogramStore::setHighDb(float value) {
    if (std::isnan(value)) return;
    highDb_ = std::max(std::min(value, dbRange_), 1.0f);
    if (lowDb_ >= highDb_) lowDb_ = highDb_ - 1.0f;
}

void SpectrogramStore::setReferenceFrequency(float f) {
    if (std::isfinite(f)) referenceFrequency_ = f;
}

// --- Frequency view ----------------------------------------------------------

void SpectrogramStore::updateBinsPerRow() {
    binsPerRow_ = rows_ > 0 ? (lastBin_ - firstBin_) / static_cast<float>(rows_) : 0.0f;
}

void SpectrogramStore::resetFrequencyZoom() {
    frequencyZoom_ = 1.0f;
    firstBin_ = 0.0f;
    lastBin_ = static_cast<float>(halfLength_);
    updateBinsPerRow();
    referenceFrequency_ = maxFrequency_ / 2.0f;
}

void SpectrogramStore::applyFrequencyRange(float f1, float f2) {
    if (std::isnan(f1) || std::isnan(f2)) {
        f1 = minFrequency_;
        f2 = maxFrequency_;
    }
    const float lo = std::clamp(std::min(f1, f2), minFrequency_, maxFrequency_);
    const float hi = std::clamp(std::max(f1, f2), minFrequency_, maxFrequency_);
    const double n = static_cast<double>(fftLength_);
    const double fs = static_cast<double>(sampleRate_);
    // The band starts at the bin nearest to lo and spans the bins nearest to
    // hi - lo, at least one bin and never past the Nyquist bin.
    const long long first = std::clamp<long long>(floorToInt(n * lo / fs + 0.5), 0, halfLength_ - 1);
    const long long last =
        std::clamp<long long>(floorToInt(n * (hi - lo) / fs + static_cast<double>(first) + 0.5), first + 1, halfLength_);
    firstBin_ = static_cast<float>(first);
    lastBin_ = static_cast<float>(last);
    const float shownSpan = static_cast<float>(last - first) * binWidth_;
    frequencyZoom_ = maxFrequency_ / shownSpan;
    updateBinsPerRow();
    referenceFrequency_ = shownSpan / 2.0f + lo;
}

void SpectrogramStore::setFrequencyRange(float f1, float f2) { applyFrequencyRange(f1, f2); }

float SpectrogramStore::minFrequencySpan() const {
    return 4.0f * sampleRate_ / static_cast<float>(fftLength_);
}

int SpectrogramStore::minSampleSpan() const { return fftLength_ + 2 * columns_ - 2; }

// --- Mappings ----------------------------------------------------------------

float SpectrogramStore::frequencyAtRow(int row) const {
    const int r = std::clamp(row, 0, rows_);
    const float bottom = firstBin_ * sampleRate_ / static_cast<float>(fftLength_);
    const float perRow = binWidth_ * binsPerRow_;
    return bottom + static_cast<float>(rows_ - r) * perRow;
}

int SpectrogramStore::clampBin(long long bin) const {
    return static_cast<int>(std::clamp<long long>(bin, 0, halfLength_ - 1));
}

int SpectrogramStore::binOfRow(int row) const {
    const int r = std::clamp(row, 0, rows_);
    return clampBin(floorToInt(static_cast<float>(rows_ - r) * binsPerRow_ + 0.5f + firstBin_));
}

int SpectrogramStore::rowOfBin(double bin) const {
    if (!(binsPerRow_ > 0.0f)) return rows_;
    double row = static_cast<double>(rows_) - std::floor((bin - firstBin_) / binsPerRow_ + 0.5);
    if (std::isnan(row)) return rows_;
    row = std::clamp(row, -kRowLimit, kRowLimit);
    return static_cast<int>(row);
}

int SpectrogramStore::rowOfFrequency(float f) const {
    return rowOfBin(static_cast<double>(fftLength_) * f / static_cast<double>(sampleRate_));
}

int SpectrogramStore::rowOfValue(float value) const { return rowOfFrequency(value * referenceFrequency_); }

int SpectrogramStore::rowOfFrequencyProduct(float a, float b) const { return rowOfFrequency(a * b); }

float SpectrogramStore::valueOfFrequency(float f) const {
    return referenceFrequency_ == 0.0f ? 0.0f : f / referenceFrequency_;
}

int SpectrogramStore::sampleAtColumn(int col) const {
    if (!laidOut_) return 0;
    const int c = std::clamp(col, 0, columns_ - 1);
    return static_cast<int>(floorToInt(layoutStart_ + c * hop_ + 0.5));
}

int SpectrogramStore::blockMiddleAtColumn(int col) const {
    if (!laidOut_) return 0;
    if (col < 0) return blockStart_[0] + 1;
    if (col >= columns_) return blockEnd_[columns_ - 1] - 2;
    const double s = blockStart_[col];
    const double e = blockEnd_[col];
    return static_cast<int>((e - s) / 2.0 + s + 0.5);
}

int SpectrogramStore::columnSpan(int a, int b) const {
    return std::max(std::min(b, columns_ - 1) - std::max(a, 0), 0);
}

// --- Columns -----------------------------------------------------------------

void SpectrogramStore::freeColumns() {
    fill_.reset();
    need_.reset();
    blockStart_.reset();
    blockEnd_.reset();
    columnData_.reset();
    columnPowerData_.reset();
    powerTable_.reset();
    columnsAllocated_ = false;
    allocatedColumns_ = 0;
    allocatedLength_ = 0;
    laidOut_ = false;
    nextSample_ = 0;
    nextColumn_ = 0;
    lastColumn_ = 0;
}

bool SpectrogramStore::allocateColumns() {
    freeColumns();
    if (columns_ < 1) return false;
    const size_t count = static_cast<size_t>(columns_);
    fill_ = zeroedArray<int>(count);
    need_ = zeroedArray<int>(count);
    blockStart_ = zeroedArray<int>(count);
    blockEnd_ = zeroedArray<int>(count);
    columnData_ = zeroedArray<float>(count * static_cast<size_t>(fftLength_));
    columnPowerData_ = zeroedArray<float>(count * static_cast<size_t>(halfLength_));
    powerTable_ = zeroedArray<const float*>(count);
    if (!fill_ || !need_ || !blockStart_ || !blockEnd_ || !columnData_ || !columnPowerData_ || !powerTable_) {
        freeColumns();
        return false;
    }
    for (size_t c = 0; c < count; ++c) powerTable_[c] = columnPowerData_.get() + c * static_cast<size_t>(halfLength_);
    allocatedColumns_ = columns_;
    allocatedLength_ = fftLength_;
    columnsAllocated_ = true;
    return true;
}

bool SpectrogramStore::layoutColumns(int start, int end, int length) {
    if (!columnsAllocated_ || allocatedColumns_ != columns_ || allocatedLength_ != fftLength_) allocateColumns();
    laidOut_ = false;
    nextSample_ = 0;
    nextColumn_ = 0;
    lastColumn_ = 0;
    const int from = std::max(start, 0);
    const int to = std::min(end, length);
    layoutSpan_ = to > from ? static_cast<float>(static_cast<long long>(to) - from) : 0.0f;
    if (!columnsAllocated_ || columns_ < 2 || to <= from) return false;

    const double hop = (static_cast<double>(to) - from) / (columns_ - 1);
    if (!(hop > 0.0)) return false;
    for (int i = 0; i < columns_; ++i) {
        // The block of column i is centred on the sample from + i * hop.
        long long s = floorToInt(i * hop + (static_cast<double>(from) - halfLength_));
        long long e = s + fftLength_;
        s = std::max<long long>(s, 0);
        e = std::min<long long>(e, length);
        blockStart_[i] = static_cast<int>(s);
        blockEnd_[i] = static_cast<int>(e);
        std::fill_n(columnData_.get() + static_cast<size_t>(i) * fftLength_, fftLength_, 0.0f);
        std::fill_n(columnPowerData_.get() + static_cast<size_t>(i) * halfLength_, halfLength_, 0.0f);
        // A block cut at the selection's start is filled from `pad` on, so
        // its samples take their place at the end of the window; a block cut
        // at the end is filled from 0 and its tail stays zero.
        const int size = static_cast<int>(e - s);
        const int pad = (size < fftLength_ && s == 0) ? fftLength_ - size : 0;
        fill_[i] = pad;
        need_[i] = pad == 0 ? size : fftLength_;
    }
    layoutStart_ = from;
    hop_ = hop;
    laidOut_ = true;
    return true;
}

bool SpectrogramStore::feedSample(float x) {
    if (laidOut_) {
        for (int c = nextColumn_; c < columns_; ++c) {
            if (blockStart_[c] > nextSample_) break;  // later columns start later still
            if (nextSample_ >= blockEnd_[c]) break;
            int& f = fill_[c];
            if (f >= fftLength_) continue;
            float* block = columnData_.get() + static_cast<size_t>(c) * fftLength_;
            block[f] = x * window_[f];
            ++f;
            if (f == need_[c]) {
                computeColumn(c);
                lastColumn_ = c;
                return true;
            }
        }
    }
    if (nextSample_ < INT_MAX) ++nextSample_;
    return false;
}

void SpectrogramStore::computeColumn(int c) {
    nextColumn_ = c + 1;
    float* x = columnData_.get() + static_cast<size_t>(c) * fftLength_;
    float* power = columnPowerData_.get() + static_cast<size_t>(c) * halfLength_;
    transform_.realFft(fftLength_, x);
    const int n = fftLength_;
    // Bin 0 has no imaginary part; every bin is stored as dB above the floor.
    for (int i = 0; i < halfLength_; ++i) {
        const float re = x[i];
        const float im = i == 0 ? 0.0f : x[n - i];
        const float p = re * re + im * im;
        power[i] = p;
        const float a = std::sqrt(p) / floorAmplitude_;
        x[i] = a > 1.0f ? 20.0f * std::log10(a) : 0.0f;
    }
    // The rest of the block still holds raw transform output: clear it.
    std::fill(x + halfLength_, x + n, 0.0f);
}

bool SpectrogramStore::columnComputed(int col) const {
    return columnsAllocated_ && col >= 0 && col < nextColumn_ && col < columns_;
}

int SpectrogramStore::blockStart(int col) const {
    return (columnsAllocated_ && col >= 0 && col < columns_) ? blockStart_[col] : 0;
}

int SpectrogramStore::blockEnd(int col) const {
    return (columnsAllocated_ && col >= 0 && col < columns_) ? blockEnd_[col] : 0;
}

int SpectrogramStore::fill(int col) const {
    return (columnsAllocated_ && col >= 0 && col < columns_) ? fill_[col] : 0;
}

int SpectrogramStore::need(int col) const {
    return (columnsAllocated_ && col >= 0 && col < columns_) ? need_[col] : 0;
}

const float* SpectrogramStore::columnLevels(int col) const {
    if (!columnsAllocated_ || col < 0 || col >= columns_) return nullptr;
    return columnData_.get() + static_cast<size_t>(col) * fftLength_;
}

const float* SpectrogramStore::columnPower(int col) const {
    if (!columnsAllocated_ || col < 0 || col >= columns_) return nullptr;
    return powerTable_[col];
}

// --- Levels ------------------------------------------------------------------

float SpectrogramStore::displayLevel(float db) const {
    if (!(highDb_ > lowDb_)) return 0.0f;
    const float d = std::clamp(db, lowDb_, highDb_);
    return (d - lowDb_) / (highDb_ - lowDb_) * 100.0f;
}

float SpectrogramStore::levelAt(int col, int bin) const {
    return columnData_[static_cast<size_t>(col) * fftLength_ + clampBin(bin)];
}

float SpectrogramStore::maxLevel(int col, int lo, int hi) const {
    const int a = clampBin(lo);
    const int b = std::min(hi, halfLength_);
    if (b <= a) return levelAt(col, a);
    const float* levels = columnData_.get() + static_cast<size_t>(col) * fftLength_;
    float d = 0.0f;
    for (int i = a; i < b; ++i) d = std::max(d, levels[i]);
    return d;
}

float SpectrogramStore::interpolatedLevel(int col, float pos) const {
    const float base = std::floor(pos);
    const int i0 = clampBin(floorToInt(base));
    const int i1 = clampBin(static_cast<long long>(i0) + 1);
    const float t = std::clamp(pos - base, 0.0f, 1.0f);
    const float v0 = levelAt(col, i0);
    const float v1 = levelAt(col, i1);
    return v0 + (v1 - v0) * t;
}

float SpectrogramStore::levelLinear(int col, int row) const {
    if (!columnComputed(col) || row < 0 || row >= rows_) return displayLevel(0.0f);
    const float k = static_cast<float>(rows_ - row);
    float d = 0.0f;
    if (binsPerRow_ >= 1.0f) {
        // Several bins per row: the loudest of them.
        const int lo = clampBin(floorToInt(k * binsPerRow_ + 0.5f + firstBin_));
        const int hi = static_cast<int>(std::min<long long>(floorToInt((k + 1.0f) * binsPerRow_ + 0.5f + firstBin_), halfLength_));
        d = lo != hi ? maxLevel(col, lo, hi) : levelAt(col, lo);
    } else {
        // A bin spans several rows: interpolate between neighbouring bins.
        const float pos = k * binsPerRow_ + firstBin_;
        const long long next = std::min<long long>(floorToInt((k + 1.0f) * binsPerRow_ + firstBin_), halfLength_ - 1);
        d = next <= floorToInt(pos) ? interpolatedLevel(col, pos) : levelAt(col, static_cast<int>(next));
    }
    return displayLevel(d);
}

float SpectrogramStore::levelLog(int col, int row) const {
    if (!columnComputed(col) || row < 0 || row >= rows_) return displayLevel(0.0f);
    const double fLow = std::max(static_cast<double>(firstBin_) * binWidth_, 1.0);
    const double fTop = topFrequency();
    const double octaves = std::log10(fTop - fLow) / std::log10(2.0);
    // A band of one hertz or less has no logarithmic scale.
    if (!(octaves > 0.0)) return levelLinear(col, row);
    const double rowsPerOctave = rows_ / octaves;
    const double bw = binWidth_;
    const auto boundary = [&](int k) { return std::pow(2.0, k / rowsPerOctave) + fLow; };
    const int k = rows_ - row;
    float d = 0.0f;
    if (binsPerRow_ >= 1.0f) {
        const long long lo = std::max<long long>(floorToInt(boundary(k) / bw + 0.5), 1);
        const long long hi = std::max<long long>(floorToInt(boundary(k + 1) / bw + 0.5), 1);
        d = lo != hi ? maxLevel(col, clampBin(lo), static_cast<int>(std::min<long long>(hi, halfLength_)))
                     : levelAt(col, clampBin(lo));
    } else {
        const double a = std::max(boundary(k - 1) / bw, 1.0);
        const long long b = std::clamp<long long>(floorToInt(boundary(k) / bw), 1, halfLength_ - 1);
        d = b <= floorToInt(a) ? interpolatedLevel(col, static_cast<float>(a)) : levelAt(col, static_cast<int>(b));
    }
    return displayLevel(d);
}

}  // namespace wowfix
