// The curve's side of the spectrogram panel: where its points fall in pixels,
// and which point or sample lies under a pixel.
#include "pvc/PvcCurve.h"

#include "spectral/ValueRowMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace wowfix {

namespace {

// Truncates towards zero into int without leaving its range.
int truncToInt(double v)
{
    constexpr double lo = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<int>::max());
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(v), lo, hi));
}

// The panel row of a curve value; a missing value (-1.0) is drawn at 1.0.
int rowOf(const ValueRowMap& store, float value)
{
    return store.rowOfValue(value == -1.0f ? 1.0f : value);
}

}  // namespace

void PvcCurve::setView(int width, int height, int viewStart, int viewEnd)
{
    plotHeight_ = height - 2;
    plotWidth_ = width - 1;
    viewStart_ = viewStart;
    viewEnd_ = viewEnd;
    const std::int64_t span = std::int64_t{viewEnd} - viewStart;
    viewSpan_ = static_cast<int>(std::clamp<std::int64_t>(span, std::numeric_limits<int>::min(),
                                                          std::numeric_limits<int>::max()));
}

int PvcCurve::columnOfPosition(std::int64_t position, float ratio) const
{
    return truncToInt(static_cast<double>(position - viewStart_) * ratio + 1.0);
}

void PvcCurve::computeFirstEdge(const ValueRowMap& store)
{
    const float v = valueAtPosition(viewStart_);
    firstEdge_.position = viewStart_;
    firstEdge_.value = v;
    firstEdge_.x = 1;
    firstEdge_.y = rowOf(store, v);
}

void PvcCurve::computeLastEdge(const ValueRowMap& store, float ratio)
{
    const float v = valueAtPosition(viewEnd_);
    lastEdge_.position = viewEnd_;
    lastEdge_.value = v;
    lastEdge_.x = columnOfPosition(viewEnd_, ratio);
    lastEdge_.y = rowOf(store, v);
}

bool PvcCurve::layout(const ValueRowMap& store)
{
    // Start from an empty visible range, so that nothing stale survives a
    // view that shows no point.
    firstVisible_ = count();
    lastVisible_ = count() - 1;
    firstEdgeInterpolated_ = false;
    lastEdgeInterpolated_ = false;
    if (viewSpan_ < 1 || plotWidth_ < 1) {
        samplesPerPixel_ = 0.0f;
        return false;
    }

    // Pixels per sample, in single precision like every pixel mapping here.
    const float ratio = static_cast<float>(plotWidth_) / static_cast<float>(viewSpan_);
    samplesPerPixel_ = 1.0f / ratio;

    computeFirstEdge(store);
    firstEdgeInterpolated_ = true;
    lastEdgeInterpolated_ = true;

    // The first point at or after the view start takes the left border.
    bool exactStart = false;
    for (int i = 0; i < count(); ++i) {
        const int position = points_[static_cast<std::size_t>(i)].position;
        if (position >= viewStart_) {
            setPixel(i, 1, firstEdge_.y);
            firstVisible_ = i;
            exactStart = position == viewStart_;
            if (exactStart)
                firstEdgeInterpolated_ = false;
            break;
        }
    }

    lastVisible_ = exactStart ? firstVisible_ : firstVisible_ - 1;
    for (int i = exactStart ? firstVisible_ + 1 : firstVisible_; i < count(); ++i) {
        PvcPoint& point = points_[static_cast<std::size_t>(i)];
        setPixel(i, columnOfPosition(point.position, ratio), store.rowOfValue(point.value));
        if (point.position == viewEnd_) {
            lastEdgeInterpolated_ = false;
            lastVisible_ = i;
            break;
        }
        if (point.position > viewEnd_) {
            // Clamped onto the panel border; the line to it leaves the view.
            lastVisible_ = i - 1;
            break;
        }
        lastVisible_ = i;
    }

    if (lastEdgeInterpolated_)
        computeLastEdge(store, ratio);
    return true;
}

bool PvcCurve::updateEdges(const ValueRowMap& store)
{
    if (viewSpan_ < 1 || plotWidth_ < 1)
        return false;
    const float ratio = static_cast<float>(plotWidth_) / static_cast<float>(viewSpan_);
    if (firstEdgeInterpolated_)
        computeFirstEdge(store);
    if (lastEdgeInterpolated_)
        computeLastEdge(store, ratio);
    return true;
}

bool PvcCurve::hitTest(int x, int y) const
{
    const int first = std::max(firstVisible_, 0);
    const int last = std::min(lastVisible_, count() - 1);
    for (int i = first; i <= last; ++i) {
        const PvcPoint& point = points_[static_cast<std::size_t>(i)];
        if (std::llabs(std::int64_t{point.x} - x) < 4 && std::llabs(std::int64_t{point.y} - y) < 4)
            return true;
    }
    return false;
}

bool PvcCurve::selectAt(int x, int y)
{
    const int first = std::max(firstVisible_, 0);
    const int last = std::min(lastVisible_, count() - 1);
    for (int i = first; i <= last; ++i) {
        const PvcPoint& point = points_[static_cast<std::size_t>(i)];
        if (std::llabs(std::int64_t{point.x} - x) < 4 && std::llabs(std::int64_t{point.y} - y) < 4) {
            // The end points hold the curve to the selection and never move.
            if (i == 0 || i >= count() - 1) {
                selected_ = -1;
                return false;
            }
            selected_ = i;
            selectedX0_ = point.x;
            selectedY0_ = point.y;
            return true;
        }
    }
    return false;
}

int PvcCurve::sampleAtPixel(int x) const
{
    if (viewSpan_ < 1 || plotWidth_ < 1)
        return -1;
    const float ratio = static_cast<float>(plotWidth_) / static_cast<float>(viewSpan_);
    const double sample = std::ceil((static_cast<double>(x) - 1.0) / ratio) + viewStart_;
    return static_cast<int>(std::clamp(sample, static_cast<double>(viewStart_), static_cast<double>(viewEnd_)));
}

int PvcCurve::findPointNear(int position) const
{
    const double reach = std::trunc(static_cast<double>(samplesPerPixel_)) + 1.0;
    const int first = std::max(firstVisible_, 0);
    const int last = std::min(lastVisible_, count() - 1);
    for (int i = first; i <= last; ++i) {
        const std::int64_t distance = std::int64_t{points_[static_cast<std::size_t>(i)].position} - position;
        if (static_cast<double>(std::llabs(distance)) < reach)
            return i;
    }
    return -1;
}

bool PvcCurve::commitMove(float value)
{
    if (!validIndex(selected_) || std::isnan(value))
        return false;
    const PvcPoint& point = points_[static_cast<std::size_t>(selected_)];
    if (point.x == selectedX0_ && point.y == selectedY0_)
        return false;  // a click without a drag changes nothing
    int position = sampleAtPixel(point.x);
    if (position < 0)
        return false;
    // Zoomed in, a column next to a neighbour can map onto the neighbour's own
    // sample; keep the point strictly between its neighbours so the curve stays
    // in ascending order.
    const std::size_t s = static_cast<std::size_t>(selected_);
    if (s > 0 && s + 1 < points_.size()) {
        const std::int64_t lo = std::int64_t{points_[s - 1].position} + 1;
        const std::int64_t hi = std::int64_t{points_[s + 1].position} - 1;
        if (lo > hi)
            position = point.position;
        else
            position = static_cast<int>(std::clamp<std::int64_t>(position, lo, hi));
    }
    return setPoint(selected_, position, std::clamp(value, 0.0f, 2.0f));
}

}  // namespace wowfix
