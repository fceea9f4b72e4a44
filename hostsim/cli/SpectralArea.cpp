#include "hostsim/cli/SpectralArea.h"

#include "host/VendorCommands.h"
#include "hostsim/AudioSource.h"
#include "hostsim/OfflineHost.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/ProgrammeBand.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace wowfix::hostsim {

namespace {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

}  // namespace

bool readSpectralAreas(const std::vector<std::string>& texts, const std::string& algorithm,
                       std::vector<SpectralArea>& areas, std::string& error) {
    areas.clear();
    if (texts.empty()) return true;
    if (algorithm != "spectral") {
        error = "--area is for --algorithm spectral only";
        return false;
    }
    for (const std::string& text : texts) {
        std::vector<std::string> parts;
        std::stringstream stream(text);
        for (std::string part; std::getline(stream, part, ':');) parts.push_back(part);
        double v[4] = {};
        bool ok = parts.size() == 4;
        for (size_t i = 0; ok && i < 4; ++i) ok = parseNumber(parts[i], v[i]);
        if (!ok) {
            error = "bad area '" + text + "': expected START:END:LOWHZ:HIGHHZ (seconds, seconds, Hz, Hz)";
            return false;
        }
        if (v[0] < 0.0 || v[1] <= v[0] || v[2] < 0.0 || v[3] <= v[2]) {
            error = "bad area '" + text + "': START < END and LOWHZ < HIGHHZ, none negative";
            return false;
        }
        areas.push_back(SpectralArea{v[0], v[1], v[2], v[3], text});
    }
    return true;
}

bool spectralAreas(OfflineHost& host, const std::vector<SpectralArea>& given, std::vector<ProcessingArea>& areas,
                   std::string& error) {
    areas.clear();
    AudioSource* file = host.file();
    if (file == nullptr) {
        error = "no file is open";
        return false;
    }
    const double fs = file->sampleRate();
    const double frames = static_cast<double>(file->frames());
    if (frames > 2147483647.0) {
        error = "the file is too long for the spectral-domain detector";
        return false;
    }
    const auto area = [](double start, double end, double low, double high) {
        return ProcessingArea{static_cast<std::int32_t>(sizeof(ProcessingArea)), static_cast<std::int32_t>(start),
                              static_cast<std::int32_t>(end), static_cast<float>(low), static_cast<float>(high)};
    };
    for (const SpectralArea& a : given) {
        const double start = std::floor(a.start * fs);
        const double end = std::floor(a.end * fs);
        if (end > frames || a.low >= fs / 2.0) {
            error = "the area '" + a.text + "' does not fit the file (" + std::to_string(frames / fs) +
                    " s, band below " + std::to_string(fs / 2.0) + " Hz)";
            return false;
        }
        areas.push_back(area(start, std::min(end, frames - 1.0), a.low, std::min(a.high, fs / 2.0)));
    }
    if (!given.empty()) return true;
    const FrequencyBand band = programmeBand(*file);
    const double piece = std::floor(kDefaultAreaSeconds * fs);
    for (double start = 0.0; start < frames - 1.0; start += piece) {
        // A short rest joins the piece before it.
        const double end = frames - (start + piece) < piece / 2.0 ? frames - 1.0 : start + piece;
        areas.push_back(area(start, end, band.low, band.high));
        if (end >= frames - 1.0) break;
    }
    return true;
}

bool markSpectralArea(OfflineHost& host, const ProcessingArea& area, bool quiet, std::ostream& err,
                      std::string& error) {
    const AudioSource* file = host.file();
    const double fs = file != nullptr ? file->sampleRate() : 1.0;
    if (!quiet) {
        char line[160];
        std::snprintf(line, sizeof line, "wowfix-host: area %.3f s to %.3f s, band %.0f Hz to %.0f Hz\n",
                      area.start / fs, area.end / fs, area.lowFrequency, area.highFrequency);
        err << line;
    }
    ProcessingArea marked = area;
    if (host.vendorCommand(vendor::kSetProcessingArea, &marked) != 0) return true;
    error = withPluginMessage(host, "the processing area could not be marked");
    return false;
}

}  // namespace wowfix::hostsim
