#include "detectors/DetectorParamStore.h"

#include "detectors/PvcDetector.h"

#include <cmath>

namespace wowfix {

DetectorParamStore::DetectorParamStore()
{
    for (bool& ready : ready_)
        ready = false;
}

bool DetectorParamStore::isValue(int slot, int index) const
{
    return isSlot(slot) && ready_[slot] && index >= 0 && index < static_cast<int>(values_[slot].size());
}

bool DetectorParamStore::saveSlot(int slot, int index, float value)
{
    if (!isValue(slot, index) || std::isnan(value))
        return false;
    values_[slot][index] = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    return true;
}

float DetectorParamStore::loadSlot(int slot, int index) const
{
    return isValue(slot, index) ? values_[slot][index] : 0.0f;
}

int DetectorParamStore::isSlotReady(int slot) const
{
    return isSlot(slot) && ready_[slot] ? 1 : 0;
}

int DetectorParamStore::valueCount(int slot) const
{
    return isSlotReady(slot) ? static_cast<int>(values_[slot].size()) : 0;
}

bool DetectorParamStore::prepareSlot(int slot, int n)
{
    if (!isSlot(slot) || ready_[slot] || n < 1 || n > maxValueCount)
        return false;
    values_[slot].assign(n, 0.0f);
    ready_[slot] = true;
    return true;
}

bool DetectorParamStore::rememberParameters(int slot, const PvcDetector& detector)
{
    if (!isSlotReady(slot))
        return false;
    for (int i = 0; i < detector.getNumParams(); ++i)
        saveSlot(slot, i, detector.getParameter(i));
    return true;
}

bool DetectorParamStore::restoreParameters(int slot, PvcDetector& detector)
{
    if (!isSlot(slot))
        return false;
    if (isSlotReady(slot)) {
        // Only the values the slot holds; a detector with more parameters keeps
        // its defaults for the rest.
        const int count = detector.getNumParams() < valueCount(slot) ? detector.getNumParams() : valueCount(slot);
        for (int i = 0; i < count; ++i)
            detector.setParameter(i, loadSlot(slot, i));
        return true;
    }
    if (prepareSlot(slot, detector.getNumParams()))
        rememberParameters(slot, detector);
    return true;
}

}  // namespace wowfix
