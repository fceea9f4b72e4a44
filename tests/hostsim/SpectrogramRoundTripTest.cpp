// Spectrogram passes through the real wowfix plug-in.

#include "PluginCommandTest.h"

#include "editor/Palette.h"
#include "host/VendorCommands.h"
#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"
#include "spectral/SpectrogramStore.h"
#include "tests/support/RgbPng.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr double kPi = 3.141592653589793;

// The picture's display levels, read back from the palette colours.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<int> pixels;
    int at(int column, int row) const { return pixels[static_cast<std::size_t>(row * width + column)]; }
};

Picture readPng(const std::string& path) {
    Picture picture;
    std::vector<std::uint8_t> rgb;
    if (!wowfix::test::readRgbPng(path, picture.width, picture.height, rgb)) return Picture{};
    const wowfix::Palette palette;
    std::map<COLORREF, int> levelOf;
    for (int level = 0; level < wowfix::Palette::kLevels; ++level) levelOf[palette.colour(level)] = level;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        auto found = levelOf.find(RGB(rgb[i], rgb[i + 1], rgb[i + 2]));
        picture.pixels.push_back(found != levelOf.end() ? found->second : -1);
    }
    return picture;
}

// Where the store puts a tone, with the settings the plug-in uses for a
// whole-file pass.
int expectedRow(double frequency, float sampleRate, int fftLength, int columns, int rows) {
    wowfix::SpectrogramStore store;
    store.setSampleRate(sampleRate);
    store.setFftLength(fftLength);
    store.setColumnCount(columns);
    store.setRowCount(rows);
    store.resetFrequencyZoom();
    return store.rowOfFrequency(static_cast<float>(frequency));
}

class Spectrogram : public hostsim_test::PluginCommandTest {
protected:
    int run(std::vector<std::string> args) {
        args.push_back("--quiet");
        return PluginCommandTest::run(std::move(args));
    }

    void writeSine(const std::string& path, double frequency, long long frames) {
        hostsim_test::writeAudio(path, 1, 44100, frames, [frequency](long long n, int) {
            return static_cast<float>(0.5 * std::sin(2.0 * kPi * frequency * static_cast<double>(n) / 44100.0));
        });
    }
};

}  // namespace

TEST_F(Spectrogram, SteadySineDrawsOneLineAtItsRow) {
    const double frequency = 6000.0;
    writeSine(dir.file("sine.wav"), frequency, 88200);
    const std::string png = dir.file("sine.png");
    ASSERT_EQ(run({"spectrogram", dir.file("sine.wav"), png, "--size", "200x128", "--fft", "1024"}), 0)
        << messages.str();
    const Picture picture = readPng(png);
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 128);

    const int row = expectedRow(frequency, 44100.0f, 1024, 200, 128);
    ASSERT_GT(row, 10);
    ASSERT_LT(row, 117);
    // Each column is brightest on the tone's row; far from it the picture is
    // dark, except in the columns whose analysis block reaches past the
    // file's ends, where the tone starts or stops inside the block.
    const double hop = 88200.0 / (picture.width - 1);
    int onLine = 0;
    int inside = 0;
    for (int c = 0; c < picture.width; ++c) {
        const double centre = c * hop;
        if (centre < 513.0 || centre > 88200.0 - 513.0) continue;
        ++inside;
        int best = 0;
        for (int r = 0; r < picture.height; ++r)
            if (picture.at(c, r) > picture.at(c, best)) best = r;
        if (std::abs(best - row) <= 1) ++onLine;
        for (int r = 0; r < picture.height; ++r) {
            if (std::abs(r - row) > 6) {
                ASSERT_LT(picture.at(c, r), picture.at(c, best) / 2) << c << "," << r;
            }
        }
    }
    EXPECT_GE(inside, picture.width - 6);
    EXPECT_EQ(onLine, inside);
}

TEST_F(Spectrogram, HigherToneHigherInThePicture) {
    writeSine(dir.file("low.wav"), 2000.0, 44100);
    writeSine(dir.file("high.wav"), 9000.0, 44100);
    ASSERT_EQ(run({"spectrogram", dir.file("low.wav"), dir.file("low.png"), "--size", "64x100"}), 0)
        << messages.str();
    ASSERT_EQ(run({"spectrogram", dir.file("high.wav"), dir.file("high.png"), "--size", "64x100"}), 0);
    auto brightestRow = [](const Picture& p) {
        int best = 0;
        for (int r = 0; r < p.height; ++r)
            if (p.at(p.width / 2, r) > p.at(p.width / 2, best)) best = r;
        return best;
    };
    const int low = brightestRow(readPng(dir.file("low.png")));
    const int high = brightestRow(readPng(dir.file("high.png")));
    EXPECT_NEAR(low, expectedRow(2000.0, 44100.0f, 1024, 64, 100), 1);
    EXPECT_NEAR(high, expectedRow(9000.0, 44100.0f, 1024, 64, 100), 1);
    EXPECT_LT(high, low) << "row 0 is the top, the highest frequency";
}

TEST_F(Spectrogram, ViewRangeMovesTheHostsCursorAndSelection) {
    writeSine(dir.file("sine.wav"), 3000.0, 50000);
    std::string error;
    auto source = wowfix::hostsim::SndfileSource::open(dir.file("sine.wav"), error);
    ASSERT_NE(source, nullptr) << error;
    wowfix::hostsim::OfflineHost host(1000);
    ASSERT_TRUE(host.loadPlugin(plugin)) << host.error();
    host.openFile(std::move(source), "sine.wav");
    ASSERT_EQ(host.notifyFiles(false), 1);

    wowfix::vendor::ViewSettings view{};
    view.size = sizeof(view);
    view.fftLength = 512;
    view.windowIndex = 1;
    view.panelWidth = 102;
    view.panelHeight = 65;
    view.rangeStart = 12000.0;
    view.rangeEnd = 30000.0;
    view.lowDb = NAN;
    view.highDb = NAN;
    ASSERT_EQ(host.vendorCommand(wowfix::vendor::kSetView, &view), 1);
    ASSERT_EQ(host.vendorCommand(wowfix::vendor::kRequestTask, nullptr, 8.0f), 1);
    ASSERT_EQ(host.tasksStarted(), 1);
    EXPECT_TRUE(host.lastTask().succeeded) << host.lastTask().error << " / " << host.pluginMessage();
    EXPECT_EQ(host.cursor(), 12000.0);
    EXPECT_EQ(host.selection().start, 12000.0);
    EXPECT_EQ(host.selection().length, 18000.0);
    EXPECT_EQ(host.lastTask().framesRead, 18000);
    EXPECT_EQ(host.lastTask().processName, "Varnel");
    EXPECT_EQ(host.lastTask().progressText, "Drawing...");
}

TEST_F(Spectrogram, RangeAndLevelOptionsAreChecked) {
    writeSine(dir.file("sine.wav"), 3000.0, 10000);
    EXPECT_EQ(run({"spectrogram", dir.file("sine.wav"), dir.file("a.png"), "--range", "100:10001"}), 1);
    EXPECT_NE(messages.str().find("bad range 100:10001"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("a.png")));
    ASSERT_EQ(run({"spectrogram", dir.file("sine.wav"), dir.file("b.png"), "--range", "2000:8000", "--size",
                   "50x40", "--levels", "30:100", "--window", "boxcar"}),
              0)
        << messages.str();
    const Picture picture = readPng(dir.file("b.png"));
    EXPECT_EQ(picture.width, 50);
    EXPECT_EQ(picture.height, 40);
}
