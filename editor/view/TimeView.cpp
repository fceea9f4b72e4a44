#include "editor/view/TimeView.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

void TimeView::request(double centre, double halfSpan) {
    const double total = std::max(view_.totalSamples, 0.0);
    halfSpan = std::max(std::trunc(halfSpan), 1.0);
    if (2.0 * halfSpan >= total) {
        requestWhole();
        return;
    }
    double start = std::trunc(centre) - halfSpan;
    double end = std::trunc(centre) + halfSpan;
    if (start < 0.0) {
        start = 0.0;
        end = 2.0 * halfSpan;
    }
    if (end > total) {
        end = total;
        start = end - 2.0 * halfSpan;
    }
    view_.timeHalfSpan = halfSpan;
    view_.timeCentre = start + halfSpan;
    view_.rangeStart = start - view_.viewOrigin;
    view_.rangeEnd = end - view_.viewOrigin;
}

void TimeView::zoomIn(int minSampleSpan) {
    double half = std::trunc(view_.timeHalfSpan / 2.0);
    if (2.0 * half < minSampleSpan) half = std::trunc(minSampleSpan / 2.0) + 1.0;
    request(view_.timeCentre, half);
}

void TimeView::zoomOut() {
    const double total = std::max(view_.totalSamples, 0.0);
    const double start = std::max(view_.timeCentre - 2.0 * view_.timeHalfSpan, 0.0);
    const double end = std::min(view_.timeCentre + 2.0 * view_.timeHalfSpan, total);
    const double half = std::trunc((end - start) / 2.0);
    request(start + half, half);
}

void TimeView::scrollTo(double centre) { request(centre, view_.timeHalfSpan); }

void TimeView::requestWhole() {
    const double total = std::max(view_.totalSamples, 0.0);
    view_.timeCentre = std::trunc(total / 2.0);
    view_.timeHalfSpan = view_.timeCentre;
    view_.rangeStart = std::trunc(view_.viewLength);
    view_.rangeEnd = 0.0;
}

void TimeView::requestRange(double start, double end, int minSampleSpan) {
    if (end < start) std::swap(start, end);
    if (end - start > minSampleSpan) {
        const double half = std::trunc((end - start) / 2.0);
        request(std::trunc(start) + half, half);
    } else {
        view_.rangeStart = 0.0;
        view_.rangeEnd = std::trunc(view_.viewLength);
    }
}

}  // namespace wowfix
