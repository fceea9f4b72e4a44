#include "hostsim/cli/SpectrogramCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/PartialFile.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PngImage.h"
#include "hostsim/cli/ProgressBar.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace wowfix::hostsim {

namespace {

constexpr int kWholeFileAcquisition = 1;
constexpr int kViewAcquisition = 8;

int failWith(std::ostream& err, const std::string& message) {
    err << "wowfix-host: " << message << "\n";
    return kExitFailure;
}

// The store's levels as grey pixels; false when the plug-in has no picture.
bool readPicture(OfflineHost& host, int& columns, int& rows, std::vector<std::uint8_t>& pixels) {
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
    for (std::size_t i = 0; i < levels.size(); ++i) pixels[i] = greyOfLevel(levels[i]);
    return true;
}

}  // namespace

int runSpectrogram(const SpectrogramOptions& options, std::ostream& err) {
    std::string error;
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (sameFile(options.input, options.output))
        return failWith(err, "'" + options.output + "' is the input file; it is never overwritten");
    if (options.hasRange && options.rangeEnd > source->frames())
        return failWith(err, "bad range " + std::to_string(options.rangeStart) + ":" +
                                 std::to_string(options.rangeEnd) + ": '" + options.input + "' has only " +
                                 std::to_string(source->frames()) + " frames");

    OfflineHost host(options.blockSize);
    if (!startSession(host, options.plugin, std::move(source), options.input, error, &err))
        return failWith(err, error);
    if (!options.pvc.empty()) host.vendorCommand(vendor::kSetPvcPath, const_cast<char*>(options.pvc.c_str()));

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
    if (host.vendorCommand(vendor::kSetView, &view) == 0)
        return failWith(err, withPluginMessage(host, "the plug-in does not take view settings"));

    ProgressBar bar(err, "analysing");
    if (!options.quiet) host.setProgressObserver([&bar](double fraction) { bar.update(fraction); });
    const int tasksBefore = host.tasksStarted();
    const int mode = options.hasRange ? kViewAcquisition : kWholeFileAcquisition;
    if (host.vendorCommand(vendor::kRequestTask, nullptr, static_cast<float>(mode)) == 0 ||
        host.tasksStarted() == tasksBefore) {
        bar.abandon();
        return failWith(err, withPluginMessage(host, "the plug-in did not start the spectrogram pass"));
    }
    if (!host.lastTask().succeeded) {
        bar.abandon();
        return failWith(err, withPluginMessage(host, "the spectrogram pass failed: " + host.lastTask().error));
    }
    bar.finish();

    int columns = 0;
    int rows = 0;
    std::vector<std::uint8_t> pixels;
    if (!readPicture(host, columns, rows, pixels))
        return failWith(err, withPluginMessage(host, "the plug-in gave no spectrogram"));

    std::unique_ptr<PartialFile> partial = PartialFile::create(options.output, error);
    if (partial == nullptr) return failWith(err, error);
    std::FILE* file = fdopen(partial->takeDescriptor(), "wb");
    if (file == nullptr) return failWith(err, "cannot write '" + options.output + "'");
    const bool written = writeGreyPng(file, columns, rows, pixels, error);
    const bool closed = std::fclose(file) == 0;
    if (!written) return failWith(err, "cannot write '" + options.output + "': " + error);
    if (!closed) return failWith(err, "cannot complete '" + options.output + "'");
    if (!partial->commit(error)) return failWith(err, error);
    if (!options.quiet)
        err << "wowfix-host: wrote '" << options.output << "': " << columns << " x " << rows << " pixels\n";
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
