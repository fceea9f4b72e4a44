#include "tasks/LibraryPointStream.h"

#include "pvc/PvcCurve.h"

#include <climits>
#include <cmath>

namespace wowfix {

namespace {
bool usableRatio(float value) { return std::isfinite(value) && value > 0.0f && value <= 2.0f; }
}  // namespace

LibraryPointStream::LibraryPointStream(ProcessingLibrary& library, PvcCurve& curve, int delay)
    : library_(library), curve_(curve), delay_(delay < 0 ? 0 : delay),
      input_(ProcessingLibrary::kBlockLength, 0.0f), output_(ProcessingLibrary::kBlockLength, 0.0f) {}

void LibraryPointStream::processBlock() {
    fill_ = 0;
    const bool answered = library_.processPvc(input_.data(), output_.data(), ProcessingLibrary::kBlockLength);
    if (!answered) ++refused_;
    for (int j = 0; j < ProcessingLibrary::kBlockLength; j += kPointSpacing) {
        const long long at = position_ - delay_;
        const float value = output_[static_cast<size_t>(j)];
        if (answered && at > 0 && at <= INT_MAX && usableRatio(value) &&
            curve_.insertPoint(static_cast<int>(at), value, false)) {
            if (inserted_++ == 0) firstValue_ = value;
            lastValue_ = value;
        }
        position_ += kPointSpacing;
    }
}

void LibraryPointStream::steadyEnds() {
    if (inserted_ == 0 || curve_.count() < 2) return;
    curve_.setValue(0, firstValue_);
    curve_.setValue(curve_.count() - 1, lastValue_);
}

}  // namespace wowfix
