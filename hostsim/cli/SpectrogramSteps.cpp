#include "hostsim/cli/SpectrogramSteps.h"

#include "editor/Palette.h"
#include "host/VendorCommands.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PngImage.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <vector>

namespace wowfix::hostsim {

namespace {

// The store's levels in the editor's palette; false when the plug-in has no
// picture.
bool readPicture(OfflineHost& host, int& columns, int& rows, std::vector<std::uint32_t>& pixels) {
    vendor::SpectrogramImage image{};
    image.size = sizeof(image);
    // The first call only tells the size of the store.
    host.vendorCommand(vendor::kReadSpectrogram, &image);
    if (image.columns < 1 || image.rows < 1 || image.columns > 65536 || image.rows > 65536) return false;
    std::vector<float> levels(static_cast<std::size_t>(image.columns) * static_cast<std::size_t>(image.rows));
    image.capacity = static_cast<std::int32_t>(levels.size());
    image.levels = levels.data();
    image.logScale = 0;
    const int expectedColumns = image.columns;
    const int expectedRows = image.rows;
    if (host.vendorCommand(vendor::kReadSpectrogram, &image) == 0 || image.columns != expectedColumns ||
        image.rows != expectedRows)
        return false;
    columns = image.columns;
    rows = image.rows;
    pixels.resize(levels.size());
    const Palette palette;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const COLORREF c = palette.colourOfLevel(levels[i]);
        pixels[i] = static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 |
                    GetBValue(c);
    }
    return true;
}

}  // namespace

bool applyViewSettings(OfflineHost& host, const SpectrogramOptions& options, std::string& error) {
    vendor::ViewSettings view{};
    view.size = sizeof(view);
    view.fftLength = options.fftLength;
    view.windowIndex = options.windowIndex;
    // The panel has a one-pixel frame on each side and below the picture.
    view.panelWidth = options.width + 2;
    view.panelHeight = options.height + 1;
    view.rangeStart = options.hasRange ? static_cast<double>(options.rangeStart) : 0.0;
    view.rangeEnd = options.hasRange ? static_cast<double>(options.rangeEnd) : 0.0;
    view.lowDb = options.hasLevels ? static_cast<float>(options.lowDb) : NAN;
    view.highDb = options.hasLevels ? static_cast<float>(options.highDb) : NAN;
    if (host.vendorCommand(vendor::kSetView, &view) != 0) return true;
    error = withPluginMessage(host, "the plug-in does not take view settings");
    return false;
}

bool writeSpectrogramPng(OfflineHost& host, const std::string& path, int& columns, int& rows, std::string& error) {
    std::vector<std::uint32_t> pixels;
    if (!readPicture(host, columns, rows, pixels)) {
        error = withPluginMessage(host, "the plug-in gave no spectrogram");
        return false;
    }
    return writeRgbPngFile(path, columns, rows, pixels, error);
}

}  // namespace wowfix::hostsim
