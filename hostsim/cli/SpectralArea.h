#pragma once
// The processing areas of the spectral-domain algorithm: "--area
// START:END:LOWHZ:HIGHHZ", START and END in seconds of the file, the band in
// Hz, as often as wanted. Without one the whole file is analysed in pieces of
// kDefaultAreaSeconds, in a band chosen from the programme (ProgrammeBand):
// the detector counts only partials that last 5 % of an area, so one area
// over a long file would keep only the longest notes.

#include "host/VendorCommands.h"

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

class OfflineHost;

constexpr double kDefaultAreaSeconds = 5.0;

struct SpectralArea {
    double start = 0.0;  // s
    double end = 0.0;    // s
    double low = 0.0;    // Hz
    double high = 0.0;   // Hz
    std::string text;    // as written
};

using ProcessingArea = vendor::ProcessingArea;

// Reads every "--area" text into `areas` and checks that the option and
// the algorithm go together: only the spectral algorithm takes areas. False
// with a one-line `error` otherwise.
bool readSpectralAreas(const std::vector<std::string>& texts, const std::string& algorithm,
                       std::vector<SpectralArea>& areas, std::string& error);

// The areas in the open file's frames: those given, or the default pieces.
// False with `error` when one does not fit the file.
bool spectralAreas(OfflineHost& host, const std::vector<SpectralArea>& given, std::vector<ProcessingArea>& areas,
                   std::string& error);

// Marks `area` in the plug-in, telling on `err` what is analysed unless
// `quiet`. False with the plug-in's reason in `error`.
bool markSpectralArea(OfflineHost& host, const ProcessingArea& area, bool quiet, std::ostream& err,
                      std::string& error);

}  // namespace wowfix::hostsim
