#include "pvc/PvcCurve.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

// The thinning threshold: a value is kept only when it differs from the last
// kept one by more than this.
constexpr float thinningStep = 0.001f;

// Linear interpolation between two points at sample p. Positions are
// differenced as integers, so neighbouring samples stay apart however far into
// the selection they lie (a float holds whole numbers exactly only up to 2^24).
float interpolate(const PvcPoint& left, const PvcPoint& right, int p)
{
    const std::int64_t span = std::int64_t{right.position} - left.position;
    if (span <= 0)
        return left.value;
    const double slope = static_cast<float>((double{right.value} - left.value) / static_cast<double>(span));
    const double offset = static_cast<double>(std::int64_t{p} - left.position);
    return static_cast<float>(offset * slope + left.value);
}

}  // namespace

int PvcCurve::positionAt(int index) const
{
    return validIndex(index) ? points_[static_cast<std::size_t>(index)].position : 0;
}

float PvcCurve::valueAt(int index) const
{
    return validIndex(index) ? points_[static_cast<std::size_t>(index)].value : 1.0f;
}

int PvcCurve::xAt(int index) const
{
    return validIndex(index) ? points_[static_cast<std::size_t>(index)].x : -1;
}

int PvcCurve::yAt(int index) const
{
    return validIndex(index) ? points_[static_cast<std::size_t>(index)].y : -1;
}

bool PvcCurve::setPoint(int index, int position, float value)
{
    if (!validIndex(index))
        return false;
    PvcPoint& point = points_[static_cast<std::size_t>(index)];
    point.position = position;
    point.value = value;
    return true;
}

bool PvcCurve::setValue(int index, float value)
{
    if (!validIndex(index))
        return false;
    points_[static_cast<std::size_t>(index)].value = value;
    return true;
}

bool PvcCurve::setPixel(int index, int x, int y)
{
    if (!validIndex(index))
        return false;
    PvcPoint& point = points_[static_cast<std::size_t>(index)];
    point.x = std::clamp(x, 1, std::max(plotWidth_, 1));
    point.y = std::clamp(y, 1, std::max(plotHeight_, 1));
    return true;
}

void PvcCurve::clear()
{
    points_.clear();
    lastAcceptedValue_ = 0.0f;
    readCursor_ = 0;
    readLimit_ = 0;
    if (selected_ >= 0)
        selected_ = -1;
}

void PvcCurve::initFlat(int length)
{
    clear();
    length_ = std::max(length, 0);
    if (length_ >= 1)
        appendPoint(0, 1.0f, false);
    if (length_ >= 2)
        appendPoint(length_ - 1, 1.0f, false);
    lastAcceptedValue_ = 1.0f;
}

bool PvcCurve::passesThinning(float value)
{
    if (!(std::fabs(lastAcceptedValue_ - value) > thinningStep))
        return false;
    lastAcceptedValue_ = value;
    return true;
}

bool PvcCurve::appendPoint(int position, float value, bool thin)
{
    if (thin && !passesThinning(value))
        return false;
    PvcPoint point;
    point.position = position;
    point.value = value;
    points_.push_back(point);
    return true;
}

bool PvcCurve::insertPoint(int position, float value, bool thin)
{
    if (!(value > 0.0f) || !std::isfinite(value) || position < 1 || std::int64_t{position} >= std::int64_t{length_} - 1)
        return true;
    // The first gap between two neighbours that holds `position` strictly.
    for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
        if (points_[i].position < position && position < points_[i + 1].position) {
            if (thin) {
                lastAcceptedValue_ = points_[i].value;
                if (!passesThinning(value))
                    return true;
            }
            PvcPoint point;
            point.position = position;
            point.value = value;
            points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(i + 1), point);
            if (selected_ > static_cast<int>(i))
                ++selected_;
            return true;
        }
    }
    return true;
}

bool PvcCurve::deleteRange(int from, int to)
{
    const std::int64_t lastSample = std::int64_t{length_} - 1;
    const auto doomed = [&](const PvcPoint& p) {
        return p.position != 0 && p.position != lastSample && from <= p.position && p.position <= to;
    };
    points_.erase(std::remove_if(points_.begin(), points_.end(), doomed), points_.end());
    if (selected_ >= count())
        selected_ = -1;
    return true;
}

float PvcCurve::valueAtPosition(int p) const
{
    if (p < 0 || p >= length_)
        return -1.0f;
    // Before the first point the line runs from (0, 0.0).
    PvcPoint left;
    for (const PvcPoint& point : points_) {
        if (point.position == -1)
            continue;
        if (point.position <= p)
            left = point;
        if (point.position >= p)
            return interpolate(left, point, p);
    }
    return -1.0f;
}

void PvcCurve::beginSequentialRead()
{
    readCursor_ = 0;
    readLimit_ = count();
}

float PvcCurve::valueAtPositionSequential(int p)
{
    if (p < 0 || p >= length_)
        return -1.0f;
    // Points may have been removed since the pass began: never read past them.
    const int limit = std::min(readLimit_, count());
    readCursor_ = std::clamp(readCursor_, 0, std::max(limit, 0));
    PvcPoint left;
    for (int i = readCursor_; i < limit; ++i) {
        const PvcPoint& point = points_[static_cast<std::size_t>(i)];
        if (point.position == -1)
            continue;
        if (point.position <= p) {
            left = point;
            readCursor_ = i;
        }
        if (point.position >= p)
            return interpolate(left, point, p);
    }
    return -1.0f;
}

}  // namespace wowfix
