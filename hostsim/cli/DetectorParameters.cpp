#include "hostsim/cli/DetectorParameters.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/HostSession.h"

#include <cmath>
#include <cstring>

namespace wowfix::hostsim {

namespace {

// Generous: no detector has more than a handful.
constexpr int kMaxParameters = 64;

std::string comparable(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_') c = ' ';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        key += c;
    }
    return key;
}

float sliderValue(int position) {
    return static_cast<float>((DetectorParameters::kSliderPositions - position) /
                              static_cast<double>(DetectorParameters::kSliderPositions));
}

}  // namespace

std::string optionSpelling(const std::string& name) {
    std::string spelling = comparable(name);
    for (char& c : spelling)
        if (c == ' ') c = '-';
    return spelling;
}

bool DetectorParameters::exchange(int index, bool write, float value, DetectorParameterInfo& info) {
    vendor::DetectorParameter record{};
    record.size = sizeof(record);
    record.algorithm = algorithm_;
    record.index = index;
    record.write = write ? 1 : 0;
    record.value = value;
    if (host_.vendorCommand(vendor::kDetectorParameter, &record) == 0) return false;
    info.index = index;
    info.name.assign(record.name, strnlen(record.name, sizeof record.name));
    info.label.assign(record.label, strnlen(record.label, sizeof record.label));
    info.value = record.value;
    info.display = record.display;
    if (index == 0) count_ = record.count;
    return true;
}

bool DetectorParameters::load(std::string& error) {
    parameters_.clear();
    DetectorParameterInfo first;
    count_ = 0;
    if (!exchange(0, false, 0.0f, first) || count_ < 1 || count_ > kMaxParameters) {
        error = withPluginMessage(host_, "the plug-in has no detector parameters for this algorithm");
        return false;
    }
    parameters_.push_back(first);
    for (int index = 1; index < count_; ++index) {
        DetectorParameterInfo info;
        if (!exchange(index, false, 0.0f, info)) {
            error = withPluginMessage(host_, "cannot read detector parameter " + std::to_string(index));
            parameters_.clear();
            return false;
        }
        parameters_.push_back(info);
    }
    return true;
}

int DetectorParameters::find(const std::string& name) const {
    const std::string key = comparable(name);
    for (const DetectorParameterInfo& info : parameters_)
        if (comparable(info.name) == key) return info.index;
    return -1;
}

std::string DetectorParameters::knownNames() const {
    std::string list;
    for (const DetectorParameterInfo& info : parameters_)
        list += (list.empty() ? "" : ", ") + optionSpelling(info.name);
    return list;
}

bool DetectorParameters::setNearest(int index, double target, std::string& error) {
    if (index < 0 || index >= static_cast<int>(parameters_.size())) {
        error = "no detector parameter " + std::to_string(index);
        return false;
    }
    DetectorParameterInfo& info = parameters_[static_cast<std::size_t>(index)];
    const float present = info.value;
    const double presentDistance = std::fabs(static_cast<double>(info.display) - target);

    // Every slider position, top (1.0) to bottom (0.0). The settings are
    // steps, so many positions may be equally near: take the middle of the
    // first run of them, well away from the steps' edges.
    double best = INFINITY;
    int runStart = -1;
    int runEnd = -1;
    DetectorParameterInfo probe;
    for (int position = 0; position <= kSliderPositions; ++position) {
        if (!exchange(index, true, sliderValue(position), probe)) {
            error = withPluginMessage(host_, "cannot set " + info.name);
            exchange(index, true, present, probe);
            return false;
        }
        const double distance = std::fabs(static_cast<double>(probe.display) - target);
        if (distance < best) {
            best = distance;
            runStart = runEnd = position;
        } else if (distance == best && runEnd == position - 1) {
            runEnd = position;
        }
    }
    const float chosen = presentDistance <= best ? present : sliderValue((runStart + runEnd) / 2);
    if (!exchange(index, true, chosen, info)) {
        error = withPluginMessage(host_, "cannot set " + info.name);
        return false;
    }
    return true;
}

}  // namespace wowfix::hostsim
