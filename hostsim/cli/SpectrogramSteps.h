#pragma once
// The steps of the spectrogram command that others reuse: handing the view
// settings to the plug-in and writing the store's levels as a PNG.

#include "hostsim/OfflineHost.h"

#include <string>

namespace wowfix::hostsim {

struct SpectrogramOptions;

// kSetView from the options' transform, window, picture size, range and
// levels. False with `error` set when the plug-in does not take them.
bool applyViewSettings(OfflineHost& host, const SpectrogramOptions& options, std::string& error);

// Writes the store's levels to `path` as a grey PNG (one pixel per column
// and row, white = loud), replacing the file only when complete. Tells the
// picture's size through `columns` and `rows`.
bool writeSpectrogramPng(OfflineHost& host, const std::string& path, int& columns, int& rows, std::string& error);

}  // namespace wowfix::hostsim
