#pragma once
// The parameters of one of the plug-in's detectors, read and set through
// kDetectorParameter as the editor's sliders do: a slider has the positions
// p = 0 ... 1000 and sets the normalised value (1000 - p) / 1000; the detector
// shows the effective setting it derives (a length, a percentage, an order).

#include "hostsim/OfflineHost.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

struct DetectorParameterInfo {
    int index = 0;
    std::string name;   // as the detector names it: "FFT Length"
    std::string label;  // its unit: "smpl"
    float value = 0.0f;    // normalised 0 ... 1
    float display = 0.0f;  // the effective setting
};

// A parameter name as the command line writes it: lower case, words joined
// by '-' ("FFT Length" -> "fft-length").
std::string optionSpelling(const std::string& name);

class DetectorParameters {
public:
    static constexpr int kSliderPositions = 1000;

    DetectorParameters(OfflineHost& host, int algorithm) : host_(host), algorithm_(algorithm) {}

    // Reads every parameter. False with `error` set (carrying the plug-in's
    // message) when the detector cannot exist, e.g. for a file below the
    // pilot tone's lowest sample rate.
    bool load(std::string& error);
    const std::vector<DetectorParameterInfo>& all() const { return parameters_; }

    // The parameter called `name`, ignoring case and with ' ', '-' and '_'
    // alike; -1 when there is none.
    int find(const std::string& name) const;
    // "fft-length, overlap, ..." for messages.
    std::string knownNames() const;

    // Moves the slider of parameter `index` to the position whose effective
    // setting is nearest to `target` (the present one when it is among the
    // nearest) and reads the parameter back.
    bool setNearest(int index, double target, std::string& error);

private:
    bool exchange(int index, bool write, float value, DetectorParameterInfo& info);

    OfflineHost& host_;
    int algorithm_;
    int count_ = 0;
    std::vector<DetectorParameterInfo> parameters_;
};

}  // namespace wowfix::hostsim
