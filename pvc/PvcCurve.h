#pragma once

#include "pvc/PvcPoint.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wowfix {

class ValueRowMap;

// The pitch-variation curve of the audio selection: a list of points in
// ascending sample position, each holding the speed ratio (momentary speed
// over nominal speed) at that sample, together with the editor's view and
// picking state, the path of the current curve file and the undo snapshot
// counters.
//
// Operations by index answer a neutral value out of range; value queries
// outside the curve answer -1.0. Nothing here throws.
class PvcCurve {
public:
    PvcCurve() = default;
    virtual ~PvcCurve() = default;

    PvcCurve(const PvcCurve&) = default;
    PvcCurve& operator=(const PvcCurve&) = default;

    // --- file and channel of the host --------------------------------------
    int fileSlot() const { return fileSlot_; }
    void setFileSlot(int slot) { fileSlot_ = slot; }
    int channelCount() const { return channelCount_; }
    void setChannelCount(int channels) { channelCount_ = channels; }

    // --- point access by index ---------------------------------------------
    int count() const { return static_cast<int>(points_.size()); }
    const std::vector<PvcPoint>& points() const { return points_; }
    int positionAt(int index) const;     // 0 out of range
    float valueAt(int index) const;      // 1.0 out of range
    int xAt(int index) const;            // -1 out of range
    int yAt(int index) const;            // -1 out of range
    bool setPoint(int index, int position, float value);
    bool setValue(int index, float value);
    bool setPixel(int index, int x, int y);  // clamped to 1..plotWidth, 1..plotHeight
    bool isEndPoint(int index) const { return index == 0 || index == count() - 1; }
    bool isSelected(int index) const { return index == selected_; }

    // --- whole curve --------------------------------------------------------
    void clear();
    // A flat curve at 1.0 over `length` samples: points at 0 and length - 1
    // (one point when length is 1, none when it is below 1). Sets `length`.
    void initFlat(int length);
    int length() const { return length_; }
    void setLength(int length) { length_ = length; }
    bool appendPoint(int position, float value, bool thin);
    bool insertPoint(int position, float value, bool thin);
    bool deleteRange(int from, int to);
    float lastAcceptedValue() const { return lastAcceptedValue_; }
    void setLastAcceptedValue(float value) { lastAcceptedValue_ = value; }
    int smoothingPasses() const { return smoothingPasses_; }
    void setSmoothingPasses(int passes) { smoothingPasses_ = passes; }

    // --- value along time ---------------------------------------------------
    // Linear interpolation between the points around `position`; -1.0 outside
    // 0 .. length - 1 or past the last point.
    float valueAtPosition(int position) const;
    // The same answer for non-decreasing positions in time linear in samples
    // plus points; beginSequentialRead starts a new pass.
    void beginSequentialRead();
    float valueAtPositionSequential(int position);

    // --- view and picking ---------------------------------------------------
    void setView(int width, int height, int viewStart, int viewEnd);
    // Lays out the visible points and the two edge records. Answers false, with
    // an empty visible range, when the view spans less than one sample or one
    // pixel.
    bool layout(const ValueRowMap& store);
    bool updateEdges(const ValueRowMap& store);
    int plotWidth() const { return plotWidth_; }
    int plotHeight() const { return plotHeight_; }
    int viewStart() const { return viewStart_; }
    int viewEnd() const { return viewEnd_; }
    int viewSpan() const { return viewSpan_; }
    float samplesPerPixel() const { return samplesPerPixel_; }
    bool firstEdgeInterpolated() const { return firstEdgeInterpolated_; }
    bool lastEdgeInterpolated() const { return lastEdgeInterpolated_; }
    // The visible range is firstVisible .. lastVisible; it is empty when
    // lastVisible < firstVisible.
    int firstVisible() const { return firstVisible_; }
    int lastVisible() const { return lastVisible_; }
    const PvcPoint& firstEdge() const { return firstEdge_; }
    const PvcPoint& lastEdge() const { return lastEdge_; }
    bool hitTest(int x, int y) const;
    bool selectAt(int x, int y);
    int selectedIndex() const { return selected_; }
    void clearSelection() { selected_ = -1; }
    int selectedX0() const { return selectedX0_; }
    int selectedY0() const { return selectedY0_; }
    int sampleAtPixel(int x) const;         // -1 for an empty view
    int findPointNear(int position) const;  // -1 when none is near
    bool commitMove(float value);

    // --- .pvc text file -----------------------------------------------------
    // Writes the whole curve, one "<position> <value>" line per point, to a
    // temporary file beside `path` that replaces `path` only when every byte
    // was written and the file closed cleanly; a failed save leaves the old
    // file as it was. A successful save with keepPath false sets filePath.
    bool savePvc(const std::string& path, bool keepPath = false);
    // Replaces the curve by the valid lines of the file (see parsePvcLine),
    // keeps the first and last point, and fills in (0, first value) and
    // (length - 1, last value) when the file does not reach the ends of the
    // selection, so `length` must be set first. Answers false, with an empty
    // curve, when the file cannot be opened or read or holds no valid line.
    // With keepPath false, filePath names `path` whatever the outcome.
    bool loadPvc(const std::string& path, bool thin = false, bool keepPath = false);
    const std::string& filePath() const { return filePath_; }
    void setFilePath(const std::string& path) { filePath_ = path; }

    // --- undo snapshots -----------------------------------------------------
    // Every undo step is a whole copy of the curve in the .pvc format, in the
    // file "<fileSlot>~undopvc_<number>.dwt" of the snapshot folder. Snapshot
    // number n belongs to undo position n; at most maxUndoSteps steps follow
    // the first snapshot.
    //
    // Sets the snapshot folder without touching the disk (an empty folder
    // means no undo); a separator is appended when missing.
    void setTempFolder(const std::string& folder);
    // Makes a private sub-folder for this plug-in instance under `base` (by
    // default the per-user folder of TempFolder::defaultBase) and uses it.
    // When it cannot be made, undo is unavailable and undoMessage says why.
    bool openTempFolder();
    bool openTempFolder(const std::string& base);
    const std::string& tempFolder() const { return tempFolder_; }
    bool undoAvailable() const { return !tempFolder_.empty() && undoMessage_.empty(); }
    // A text for the user when undo is unavailable, else empty.
    const std::string& undoMessage() const { return undoMessage_; }
    // The snapshot file of `number` in the current slot (empty without folder).
    std::string snapshotPath(int number) const;
    // Where a curve waiting for the host file `audioFileName` is kept: the
    // folder, the file name reduced to a safe single name, and ".pvc".
    std::string tempCurvePath(const std::string& audioFileName) const;

    // Opens a new snapshot holding the current curve, dropping any undone
    // steps ahead of the current one. At the step limit the current snapshot
    // is overwritten instead. A failed write changes no number.
    bool saveSnapshot();
    // Records the curve after an edit: 2 when a new snapshot was opened (the
    // caller pushes an undo step), 1 when the current one was overwritten, 0
    // when nothing could be written.
    int updateSnapshot();
    // Loads snapshot `number` and makes it current; the next change then opens
    // a new snapshot, so an edit after an undo drops the redo steps. A failed
    // load keeps the curve and the numbers as they were.
    bool loadSnapshot(int number);
    void markNewSnapshot() { newSnapshotPending_ = true; }
    bool newSnapshotPending() const { return newSnapshotPending_; }
    // Restores the numbers kept for a file: `index` is the undo position the
    // file was left at, `count` the snapshots it had.
    void setSnapshotState(int index, int count);
    int snapshotCount() const { return snapshotCount_; }
    int snapshotIndex() const { return snapshotIndex_; }
    void resetSnapshots();
    // Deletes the snapshot files (of every slot) in the folder, and nothing
    // else, and resets the numbers. Answers false when a file stays.
    bool deleteAllSnapshots();
    // deleteAllSnapshots, then removes the folder itself when it is empty. A
    // later snapshot makes the folder again.
    bool removeTempFolder();

private:
    bool passesThinning(float value);
    // (position - viewStart) * ratio + 1, truncated and kept inside int range.
    int columnOfPosition(std::int64_t position, float ratio) const;
    void computeFirstEdge(const ValueRowMap& store);
    void computeLastEdge(const ValueRowMap& store, float ratio);
    bool validIndex(int index) const { return index >= 0 && index < count(); }
    bool ensureTempFolder();
    bool writeSnapshot(int number);

    int fileSlot_ = 0;
    int channelCount_ = 1;
    std::vector<PvcPoint> points_;
    PvcPoint firstEdge_;
    PvcPoint lastEdge_;
    bool firstEdgeInterpolated_ = false;
    bool lastEdgeInterpolated_ = false;
    int firstVisible_ = 0;
    int lastVisible_ = -1;
    int plotHeight_ = 0;
    int plotWidth_ = 0;
    int viewSpan_ = 0;
    int length_ = 0;
    int viewStart_ = 0;
    int viewEnd_ = 0;
    int selected_ = -1;
    int selectedX0_ = 0;
    int selectedY0_ = 0;
    float samplesPerPixel_ = 0.0f;
    int readCursor_ = 0;
    int readLimit_ = 0;
    std::string filePath_;
    std::string tempFolder_;
    float lastAcceptedValue_ = 0.0f;
    int smoothingPasses_ = 9;
    int snapshotCount_ = 0;
    int snapshotIndex_ = -1;
    bool newSnapshotPending_ = false;
    std::string undoMessage_;
};

}  // namespace wowfix
