// Undo snapshots: whole copies of the curve in the .pvc format, one file per
// undo step, in a folder private to this plug-in instance.
#include "pvc/PvcCurve.h"

#include "pvc/TempFolder.h"
#include "pvc/UndoHistory.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace wowfix {

namespace {

#if defined(_WIN32)
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool takeDigits(std::string_view& text)
{
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    text.remove_prefix(n);
    return n > 0;
}

bool takeText(std::string_view& text, std::string_view expected)
{
    if (text.substr(0, expected.size()) != expected)
        return false;
    text.remove_prefix(expected.size());
    return true;
}

// True for "<slot>~undopvc_<number>.dwt", and for the temporary
// "<that>.<hex>.part" a write leaves behind when it is cut short.
bool isSnapshotName(std::string_view name)
{
    if (!name.empty() && name.front() == '-')
        name.remove_prefix(1);
    if (!takeDigits(name) || !takeText(name, "~undopvc_") || !takeDigits(name) || !takeText(name, ".dwt"))
        return false;
    if (name.empty())
        return true;
    if (!takeText(name, "."))
        return false;
    const std::size_t hexEnd = name.find_first_not_of("0123456789abcdef");
    if (hexEnd == 0 || hexEnd == std::string_view::npos)
        return false;
    name.remove_prefix(hexEnd);
    return name == ".part";
}

}  // namespace

void PvcCurve::setTempFolder(const std::string& folder)
{
    tempFolder_ = folder;
    if (!tempFolder_.empty() && !isSeparator(tempFolder_.back()))
        tempFolder_.push_back(separator);
    undoMessage_ = tempFolder_.empty() ? TempFolder::unavailableMessage(folder) : std::string();
}

bool PvcCurve::openTempFolder()
{
    return openTempFolder(TempFolder::defaultBase());
}

bool PvcCurve::openTempFolder(const std::string& base)
{
    std::string folder;
    if (!TempFolder::createInstanceFolder(base, folder)) {
        tempFolder_.clear();
        undoMessage_ = TempFolder::unavailableMessage(base);
        return false;
    }
    setTempFolder(folder);
    return true;
}

bool PvcCurve::ensureTempFolder()
{
    if (tempFolder_.empty())
        return false;
    if (TempFolder::createLevels(tempFolder_)) {
        undoMessage_.clear();
        return true;
    }
    undoMessage_ = TempFolder::unavailableMessage(tempFolder_);
    return false;
}

std::string PvcCurve::snapshotPath(int number) const
{
    if (tempFolder_.empty())
        return std::string();
    return tempFolder_ + std::to_string(fileSlot_) + "~undopvc_" + std::to_string(number) + ".dwt";
}

std::string PvcCurve::tempCurvePath(const std::string& audioFileName) const
{
    if (tempFolder_.empty())
        return std::string();
    return tempFolder_ + TempFolder::safeName(audioFileName) + ".pvc";
}

bool PvcCurve::writeSnapshot(int number)
{
    if (number < 0 || !ensureTempFolder())
        return false;
    return savePvc(snapshotPath(number), true);
}

bool PvcCurve::saveSnapshot()
{
    // Undone steps ahead of the current one are dropped: the new snapshot
    // follows the current one. A snapshot beyond the last undo step could
    // never be reached, so at the limit the current one takes the curve.
    int index = snapshotCount_ > snapshotIndex_ + 1 ? snapshotIndex_ + 1 : snapshotCount_;
    index = std::max(index, 0);
    if (index > maxUndoSteps)
        index = std::clamp(snapshotIndex_, 0, maxUndoSteps);
    if (!writeSnapshot(index))
        return false;
    snapshotIndex_ = index;
    snapshotCount_ = index + 1;
    newSnapshotPending_ = false;
    return true;
}

int PvcCurve::updateSnapshot()
{
    if (newSnapshotPending_ || snapshotIndex_ < 0) {
        const int before = snapshotIndex_;
        if (!saveSnapshot())
            return 0;
        // Without any snapshot so far this one is the first state, not a step;
        // at the step limit the current snapshot was overwritten.
        return before >= 0 && snapshotIndex_ > before ? 2 : 1;
    }
    return writeSnapshot(snapshotIndex_) ? 1 : 0;
}

bool PvcCurve::loadSnapshot(int number)
{
    if (number < 0 || number > maxUndoSteps || tempFolder_.empty())
        return false;
    // Read into a scratch curve, so that a missing or broken snapshot leaves
    // this curve as it was.
    PvcCurve loaded;
    loaded.setLength(length_);
    if (!loaded.loadPvc(snapshotPath(number), false, true))
        return false;
    points_.swap(loaded.points_);
    lastAcceptedValue_ = loaded.lastAcceptedValue_;
    selected_ = -1;
    readCursor_ = 0;
    readLimit_ = 0;
    snapshotIndex_ = number;
    newSnapshotPending_ = true;
    return true;
}

void PvcCurve::setSnapshotState(int index, int count)
{
    snapshotCount_ = std::clamp(count, 0, maxUndoSteps + 1);
    snapshotIndex_ = std::clamp(index, -1, snapshotCount_ - 1);
    newSnapshotPending_ = true;
}

void PvcCurve::resetSnapshots()
{
    snapshotIndex_ = -1;
    snapshotCount_ = 0;
    newSnapshotPending_ = false;
    fileSlot_ = 0;
    channelCount_ = 1;
}

bool PvcCurve::deleteAllSnapshots()
{
    snapshotIndex_ = -1;
    snapshotCount_ = 0;
    if (tempFolder_.empty())
        return true;
    std::error_code ec;
    fs::directory_iterator entries(tempFolder_, ec);
    if (ec)
        return !fs::exists(tempFolder_, ec);  // no folder: nothing to delete
    // Collect first, delete afterwards: removing entries while iterating a
    // directory leaves the iteration order unspecified.
    std::vector<fs::path> doomed;
    for (; entries != fs::directory_iterator(); entries.increment(ec)) {
        if (ec)
            break;
        const fs::path& path = entries->path();
        if (isSnapshotName(path.filename().string()))
            doomed.push_back(path);
    }
    bool allGone = !ec;
    for (const fs::path& path : doomed) {
        std::error_code removeError;
        if (!fs::remove(path, removeError) || removeError)
            allGone = false;
    }
    return allGone;
}

bool PvcCurve::removeTempFolder()
{
    const bool snapshotsGone = deleteAllSnapshots();
    if (tempFolder_.empty())
        return snapshotsGone;
    // Removes the folder only when nothing else is left in it.
    std::error_code ec;
    fs::remove(fs::path(tempFolder_).parent_path(), ec);
    return snapshotsGone && !fs::exists(fs::path(tempFolder_).parent_path(), ec);
}

}  // namespace wowfix
