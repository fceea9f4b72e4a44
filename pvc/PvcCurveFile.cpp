// The curve's .pvc text file: one "<position> <value>" line per point.
#include "pvc/PvcCurve.h"

#include "pvc/PvcLineFormat.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace wowfix {

namespace {

// Lines longer than this cannot be curve points (a point takes at most about
// thirty characters); they are skipped without being kept in memory, so a
// binary file picked by mistake is read in bounded space.
constexpr std::size_t maxLineLength = 1024;

// Writes `text` to `path` through a temporary file beside it, which replaces
// the target only after the whole text was written and the file closed
// without error. On any failure the temporary file is removed and the target
// is left as it was.
bool writeFileReplacing(const std::string& path, const std::string& text, const void* owner)
{
    char tag[32];
    std::snprintf(tag, sizeof tag, ".%llx.part",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(owner)));
    const std::string temporary = path + tag;

    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::ferror(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;

    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temporary, path, ec);
        ok = !ec;
    }
    if (!ok)
        std::filesystem::remove(temporary, ec);
    return ok;
}

}  // namespace

bool PvcCurve::savePvc(const std::string& path, bool keepPath)
{
    if (path.empty())
        return false;
    std::string text;
    text.reserve(points_.size() * 20);
    for (const PvcPoint& point : points_)
        appendPvcLine(text, point.position, static_cast<double>(point.value));
    if (!writeFileReplacing(path, text, this))
        return false;
    if (!keepPath)
        filePath_ = path;
    return true;
}

bool PvcCurve::loadPvc(const std::string& path, bool thin, bool keepPath)
{
    clear();
    if (!keepPath)
        filePath_ = path;
    if (path.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;

    bool any = false;
    bool lastAdded = true;
    PvcPoint first;
    PvcPoint last;

    const auto takeLine = [&](const std::string& line) {
        std::int32_t position = 0;
        float value = 0.0f;
        if (!parsePvcLine(line, position, value))
            return;
        if (!any) {
            // The first point always stays: it anchors the start of the curve
            // and the reference of the thinning rule.
            appendPoint(position, value, false);
            lastAcceptedValue_ = value;
            first.position = position;
            first.value = value;
            any = true;
            lastAdded = true;
        } else {
            lastAdded = appendPoint(position, value, thin);
        }
        last.position = position;
        last.value = value;
    };

    std::string line;
    bool lineTooLong = false;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!lineTooLong && !line.empty())
                    takeLine(line);
                line.clear();
                lineTooLong = false;
            } else if (line.size() < maxLineLength) {
                line.push_back(c);
            } else {
                lineTooLong = true;
            }
        }
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (!readFailed && !lineTooLong) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            takeLine(line);
    }

    if (readFailed || !any) {
        clear();
        return false;
    }

    // A curve always keeps its final point, even when thinning dropped it.
    if (!lastAdded)
        appendPoint(last.position, last.value, false);
    // Reach both ends of the selection, so that the interpolation neither
    // ramps up from 0.0 before the first point nor runs out after the last.
    if (first.position > 0) {
        PvcPoint start;
        start.value = first.value;
        points_.insert(points_.begin(), start);
    }
    if (std::int64_t{last.position} < std::int64_t{length_} - 1)
        appendPoint(length_ - 1, last.value, false);
    return true;
}

}  // namespace wowfix
