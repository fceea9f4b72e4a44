#include "hostsim/cli/LineDrag.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginTask.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace wowfix::hostsim {

namespace {

// The band the rows show around the line: +-20 % of its frequency.
constexpr double kBandHalfWidth = 0.2;
// Columns between two pointer moves while dragging.
constexpr int kMoveStep = 4;

struct LineView {
    vendor::ViewSettings settings{};
    long long start = 0;  // frames of the file
    long long end = 0;
};

LineView lineView(const TonalLine& line, double sampleRate, double frames) {
    LineView view;
    vendor::ViewSettings& s = view.settings;
    s.size = sizeof s;
    s.fftLength = kLineFftLength;
    s.windowIndex = 2;
    s.panelWidth = SpectrogramOptions::kDefaultWidth + 2;
    s.panelHeight = SpectrogramOptions::kDefaultHeight + 1;
    // Half a transform more on each side, where the file has it, so that the
    // columns at START and END analyse whole blocks.
    view.start = std::max(std::llround(line.start * sampleRate) - kLineFftLength / 2, 0LL);
    view.end = std::min(std::llround(line.end * sampleRate) + kLineFftLength / 2, static_cast<long long>(frames));
    s.rangeStart = static_cast<double>(view.start);
    s.rangeEnd = static_cast<double>(view.end);
    s.lowDb = NAN;
    s.highDb = NAN;
    s.bottomFrequency = static_cast<float>(std::max(line.frequency * (1.0 - kBandHalfWidth), 0.0));
    s.topFrequency = static_cast<float>(std::min(line.frequency * (1.0 + kBandHalfWidth), sampleRate / 2.0));
    return view;
}

// A store set up as the plug-in's will be for the view, for its mappings.
std::unique_ptr<SpectrogramStore> mappingStore(const LineView& view, double sampleRate) {
    auto store = std::make_unique<SpectrogramStore>();
    const vendor::ViewSettings& s = view.settings;
    store->setSampleRate(std::trunc(static_cast<float>(sampleRate)));
    store->setColumnCount(s.panelWidth - 2);
    store->setRowCount(s.panelHeight - 1);
    store->setFftLength(s.fftLength);
    store->setWindowType(s.windowIndex);
    store->resetFrequencyZoom();
    store->setFrequencyRange(s.bottomFrequency, s.topFrequency);
    const int frames = static_cast<int>(view.end - view.start);
    if (!store->layoutColumns(0, frames, frames)) return nullptr;
    return store;
}

// The column whose sample lies nearest to frame `frame` of the file, among
// those whose analysis block is whole where there are such.
int columnOfFrame(const SpectrogramStore& store, long long viewStart, long long frame) {
    bool anyWhole = false;
    for (int c = 0; c < store.columns() && !anyWhole; ++c)
        anyWhole = store.blockEnd(c) - store.blockStart(c) >= store.fftLength();
    int best = 0;
    long long bestDistance = -1;
    for (int c = 0; c < store.columns(); ++c) {
        if (anyWhole && store.blockEnd(c) - store.blockStart(c) < store.fftLength()) continue;
        const long long distance = std::llabs(viewStart + store.blockMiddleAtColumn(c) - frame);
        if (bestDistance < 0 || distance < bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

// The smallest distance from the press row whose band covers two bins.
int bandRows(const SpectrogramStore& store, int row) {
    for (int d = 1; d <= store.rows(); ++d)
        if (store.binOfRow(row - d) != store.binOfRow(row + d)) return d;
    return 0;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

}  // namespace

bool dragAlongLine(OfflineHost& host, const TonalLine& line, bool quiet, std::ostream& err, std::string& error) {
    const AudioSource* file = host.file();
    if (file == nullptr) {
        error = "no file is open";
        return false;
    }
    const double sampleRate = file->sampleRate();
    const double frames = static_cast<double>(file->frames());
    if (!tonalLineFits(line, frames, sampleRate, error)) return false;

    LineView view = lineView(line, sampleRate, frames);
    std::unique_ptr<SpectrogramStore> store = mappingStore(view, sampleRate);
    if (store == nullptr) {
        error = "the line " + seconds(line.start) + " ... " + seconds(line.end) + " is too short for a spectrogram";
        return false;
    }
    // The reference line on the press row: the line's speed at START is 1.0.
    const int y0 = store->rowOfFrequency(static_cast<float>(line.frequency));
    view.settings.referenceFrequency = store->frequencyAtRow(y0);
    const int d = bandRows(*store, y0);
    const int x0 = columnOfFrame(*store, view.start, std::llround(line.start * sampleRate));
    const int x1 = columnOfFrame(*store, view.start, std::llround(line.end * sampleRate));
    if (d == 0 || x1 - x0 < 2) {
        error = "the view of the line " + line.text + " is too narrow to follow it";
        return false;
    }

    if (host.vendorCommand(vendor::kSetView, &view.settings) == 0) {
        error = withPluginMessage(host, "the plug-in does not take the line's view");
        return false;
    }
    if (!runPluginTask(host, kViewAcquisitionTask, "the spectrogram pass over the line", "analysing", quiet, err,
                       error))
        return false;

    std::vector<vendor::PointerEvent> events;
    events.push_back({vendor::kPointerPress, x0, y0});
    for (int x = x0 + kMoveStep; x < x1; x += kMoveStep) events.push_back({vendor::kPointerDrag, x, y0 + d});
    events.push_back({vendor::kPointerDrag, x1, y0 + d});
    events.push_back({vendor::kPointerRelease, x1, y0 + d});
    vendor::ToolEvents drag{};
    drag.size = sizeof drag;
    drag.tool = vendor::kCentreOfGravityTool;
    drag.count = static_cast<std::int32_t>(events.size());
    drag.events = events.data();
    const bool dragged = host.vendorCommand(vendor::kToolEvents, &drag) != 0;

    // The view pass moved the host's selection onto the line; the curve
    // covers the whole file, and so does the correction.
    Selection whole;
    whole.start = 0.0;
    whole.length = frames;
    host.setSelection(whole);

    if (!dragged) {
        error = withPluginMessage(host, "the plug-in did not take the drag along the line");
        return false;
    }
    const int columns = x1 - x0;
    const int followed = std::abs(drag.followed);
    // A single column is no line: anything passes the test once.
    if (followed < 2) {
        error = "no tonal line at " + std::to_string(std::llround(line.frequency)) + " Hz at " +
                seconds(line.start) + " to follow";
        return false;
    }
    if (!quiet || followed < columns) {
        const double from = (view.start + store->blockMiddleAtColumn(x0)) / sampleRate;
        const double reached = (view.start + store->blockMiddleAtColumn(x0 + followed)) / sampleRate;
        err << "wowfix-host: followed the line over " << followed << " of " << columns << " columns ("
            << seconds(from) << " ... " << seconds(reached) << ")\n";
    }
    return true;
}

}  // namespace wowfix::hostsim
