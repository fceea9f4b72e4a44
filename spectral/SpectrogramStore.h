#pragma once

#include "spectral/HartleyTransform.h"
#include "spectral/ValueRowMap.h"

#include <memory>

namespace wowfix {

// The spectrogram of a selection as the editor's panel shows it: one column per
// pixel column, each the spectrum of one windowed block of samples, with the
// analysis settings (transform length, sample rate, window), the frequency view
// (which band of bins the pixel rows show) and the level settings (dB range and
// the displayed dB window).
//
// Column c is centred on the sample start + c * hop of the laid-out range, hop
// = (end - start) / (columns - 1). Samples are fed one at a time; each sample is
// multiplied into every column block that contains it, and a column's
// transform runs as soon as its block is full, so the whole spectrogram is
// computed in one pass with memory for one block per column, independent of
// the length of the selection.
//
// Rows: row 0 is the top of the panel, row `rows` its bottom edge. The view is
// the band of bins firstBin ... firstBin + rows * binsPerRow.
//
// Every setting is clamped to the range the fixed-size arrays support; no
// setting, index or mapping can make the store read or write outside them.
class SpectrogramStore : public ValueRowMap {
public:
    static constexpr int kMinFftLength = 16;
    static constexpr int kMaxFftLength = 8192;
    static constexpr int kMaxColumns = 4096;
    static constexpr int kMaxRows = 4096;
    static constexpr float kMinDbRange = 1.0f;
    static constexpr float kMaxDbRange = 300.0f;

    SpectrogramStore();
    ~SpectrogramStore() override;
    SpectrogramStore(const SpectrogramStore&) = delete;
    SpectrogramStore& operator=(const SpectrogramStore&) = delete;

    // --- Settings -----------------------------------------------------------

    // Frees the columns and forgets the layout; the analysis, view and level
    // settings are kept.
    void reset();

    // Transform length: a power of two in kMinFftLength ... kMaxFftLength (other
    // values are clamped into the range and rounded down to a power of two).
    // Updates halfLength, maxFrequency, binWidth and sets referenceFrequency to
    // maxFrequency / 2. When the length changes, allocated columns are
    // reallocated at the new length (the layout is forgotten), the window is
    // rebuilt and the frequency view keeps its band in Hz as far as the new
    // bins allow. Answers false when n had to be adjusted.
    bool setFftLength(int n);

    // Sample rate in Hz (finite and > 0, else refused with false). Updates
    // maxFrequency and binWidth; referenceFrequency = maxFrequency / 2.
    bool setSampleRate(float fs);

    // Window type (0 boxcar, 1 Hann, 2 Blackman; anything else becomes Hann),
    // then rebuilds the window table for the current length.
    void setWindowType(int type);
    // Rebuilds the window table of the current type and length.
    void rebuildWindow();

    // Number of columns (0 ... kMaxColumns) and rows (0 ... kMaxRows). A column
    // count change reallocates allocated columns; a row count change keeps the
    // band shown.
    void setColumnCount(int n);
    void setRowCount(int n);

    // Dynamic range in dB (kMinDbRange ... kMaxDbRange): levels are measured
    // above a floor this far below amplitude 1.0.
    void setDbRange(float range);
    // Displayed dB window; keeps lowDb < highDb <= dbRange.
    void setLowDb(float value);
    void setHighDb(float value);
    void setReferenceFrequency(float f);

    int fftLength() const { return fftLength_; }
    int halfLength() const { return halfLength_; }
    float sampleRate() const { return sampleRate_; }
    float binWidth() const { return binWidth_; }
    int windowType() const { return windowType_; }
    const float* window() const { return window_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    float lowDb() const { return lowDb_; }
    float highDb() const { return highDb_; }
    float dbRange() const { return dbRange_; }
    float floorAmplitude() const { return floorAmplitude_; }
    float referenceFrequency() const { return referenceFrequency_; }
    const HartleyTransform& transform() const { return transform_; }

    // --- Frequency view ------------------------------------------------------

    // Shows 0 Hz to the Nyquist frequency.
    void resetFrequencyZoom();
    // Shows the band between two frequencies (either order), clamped to
    // minFrequency ... maxFrequency and to at least one bin;
    // referenceFrequency becomes the middle of the band.
    void setFrequencyRange(float f1, float f2);

    float frequencyZoom() const { return frequencyZoom_; }
    float firstBin() const { return firstBin_; }
    float lastBin() const { return lastBin_; }
    float binsPerRow() const { return binsPerRow_; }
    float minFrequency() const { return minFrequency_; }
    float maxFrequency() const { return maxFrequency_; }
    float bottomFrequency() const { return frequencyAtRow(rows_); }
    float topFrequency() const { return frequencyAtRow(0); }
    // Smallest view spans the editor allows: four bins in Hz, and
    // fftLength + 2 columns - 2 samples.
    float minFrequencySpan() const;
    int minSampleSpan() const;

    // --- Mappings ------------------------------------------------------------

    // Frequency at the lower edge of a row (row clamped to 0 ... rows).
    float frequencyAtRow(int row) const;
    // Transform bin shown at a row, within 0 ... halfLength - 1.
    int binOfRow(int row) const;
    // Row at which a tone of frequency v * referenceFrequency appears.
    int rowOfValue(float value) const override;
    // Row of the frequency a * b.
    int rowOfFrequencyProduct(float a, float b) const;
    int rowOfFrequency(float f) const;
    // f / referenceFrequency, 0 when the reference is 0.
    float valueOfFrequency(float f) const;
    // The column's own time, start + col * hop (rounded), relative to the
    // sample 0 of the selection; col is clamped to the laid-out columns.
    // Answers 0 before a layout.
    int sampleAtColumn(int col) const;
    // The middle of the column's clipped analysis block; left of column 0 the
    // first block's start + 1, right of the last column its end - 2.
    int blockMiddleAtColumn(int col) const;
    // max(min(b, columns - 1) - max(a, 0), 0).
    int columnSpan(int a, int b) const;

    // --- Columns ---------------------------------------------------------------

    // Creates zeroed per-column arrays: a block of fftLength floats and a power
    // spectrum of halfLength floats per column. Answers false when there are no
    // columns or the memory is not available.
    bool allocateColumns();
    void freeColumns();
    bool columnsAllocated() const { return columnsAllocated_; }

    // Places the column blocks over the samples start ... end of a selection of
    // `length` samples (start clamped to >= 0, end to <= length) and restarts
    // the feed at sample 0. Allocates the columns if needed. Answers false (and
    // the feed computes nothing) when there are fewer than two columns or the
    // range is empty.
    bool layoutColumns(int start, int end, int length);

    // Offers the next sample of the selection. Answers true when a column has
    // just been completed (its index is lastColumn()); the sample has then not
    // been consumed yet and must be offered again, after the column is drawn.
    // Answers false once the sample reached every block that contains it.
    bool feedSample(float x);

    int nextSample() const { return nextSample_; }
    int nextColumn() const { return nextColumn_; }
    int lastColumn() const { return lastColumn_; }
    float layoutSpan() const { return layoutSpan_; }
    bool laidOut() const { return laidOut_; }
    // Whether column col has been computed since the last layout.
    bool columnComputed(int col) const;

    // Per-column layout records (0 for a column out of range).
    int blockStart(int col) const;
    int blockEnd(int col) const;
    int fill(int col) const;
    int need(int col) const;

    // A computed column's dB levels above the floor, bins 0 ... halfLength - 1
    // (0 ... dbRange for amplitudes up to 1.0); nullptr when out of range.
    const float* columnLevels(int col) const;
    // A column's power spectrum, bins 0 ... halfLength - 1; nullptr when out of
    // range. columnPower() is the table of all columns, indexed [column][bin].
    const float* columnPower(int col) const;
    const float* const* columnPower() const { return powerTable_.get(); }

    // --- Levels ----------------------------------------------------------------

    // A level in dB above the floor as a display level 0 ... 100 of the window
    // lowDb ... highDb.
    float displayLevel(float db) const;
    // Display level of a pixel for the linear and the logarithmic frequency
    // scale; 0 % outside the panel or for a column not computed yet.
    float levelLinear(int col, int row) const;
    float levelLog(int col, int row) const;

private:
    void updateFrequencies();
    void updateBinsPerRow();
    void applyFrequencyRange(float f1, float f2);
    void computeColumn(int c);
    float levelAt(int col, int bin) const;
    float maxLevel(int col, int lo, int hi) const;
    float interpolatedLevel(int col, float pos) const;
    int clampBin(long long bin) const;
    int rowOfBin(double bin) const;

    HartleyTransform transform_;
    float minFrequency_ = 0.0f;
    float maxFrequency_ = 22050.0f;
    float sampleRate_ = 44100.0f;
    float layoutSpan_ = 0.0f;
    int fftLength_ = 1024;
    int halfLength_ = 512;
    int windowType_ = kDefaultWindowType;
    int nextColumn_ = 0;
    int lastColumn_ = 0;
    float lowDb_ = 20.0f;
    float highDb_ = 120.0f;
    float dbRange_ = 120.0f;
    std::unique_ptr<int[]> fill_;
    std::unique_ptr<int[]> need_;
    std::unique_ptr<int[]> blockStart_;
    std::unique_ptr<int[]> blockEnd_;
    int nextSample_ = 0;
    std::unique_ptr<float[]> columnData_;   // columns x fftLength
    std::unique_ptr<float[]> columnPowerData_;  // columns x halfLength
    std::unique_ptr<const float*[]> powerTable_;
    float window_[kMaxFftLength];  // entries 0 ... fftLength - 1 in use
    int columns_ = 0;
    int rows_ = 0;
    float binsPerRow_ = 0.0f;
    float frequencyZoom_ = 1.0f;
    float firstBin_ = 0.0f;
    float lastBin_ = 512.0f;
    float floorAmplitude_ = 1e-6f;
    float floorPowerInverse_ = 1e12f;
    float referenceFrequency_ = 11025.0f;
    bool columnsAllocated_ = false;
    float binWidth_ = 44100.0f / 1024.0f;
    // Layout of the current run.
    bool laidOut_ = false;
    double layoutStart_ = 0.0;
    double hop_ = 0.0;
    int allocatedColumns_ = 0;
    int allocatedLength_ = 0;

    static constexpr int kDefaultWindowType = 2;
};

}  // namespace wowfix
