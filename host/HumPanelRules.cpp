#include "host/HumPanelRules.h"

#include "tasks/ProcessingLibrary.h"

#include <algorithm>

namespace wowfix {

namespace {
// The smallest slider step.
constexpr float kStep = 0.001f;
}  // namespace

void applyHumPanelRule(ProcessingLibrary& library, int index, float v) {
    ProcessingLibrary& p = library;
    switch (index) {
        case 1:
            p.setValue(1, v / 2.0f);
            break;
        case 2:
            p.setValue(2, v);
            if (p.value(2) <= 2.0f * p.value(1)) p.setValue(2, 2.0f * p.value(1));
            break;
        case 3:
            p.setValue(3, v < p.value(4) ? v : p.value(4));
            break;
        case 4:
            p.setValue(4, v > p.value(3) ? v : p.value(3));
            break;
        case 5:
            p.setValue(5, v);
            // Kept above twice parameter 7, one step over it at the least.
            if (p.display(5) <= 2.0f * p.display(7)) p.setValue(5, std::min(1.0f, 2.0f * p.value(7) + kStep));
            break;
        case 6:
            p.setValue(6, v);
            if (p.value(5) < p.value(6)) p.setValue(6, p.value(5));
            break;
        case 7:
            p.setValue(7, v);
            if (p.value(5) <= p.value(7)) p.setValue(7, p.value(5));
            if (p.display(7) < 2.0f) {
                p.setValue(7, 0.025f);
                // The floor must not lift the lag above a short smoothing.
                if (p.value(5) < p.value(7) && p.display(5) >= 2.0f) p.setValue(7, p.value(5));
            }
            break;
        default:
            p.setValue(index, v);
            break;
    }
}

}  // namespace wowfix
