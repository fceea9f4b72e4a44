// The meter on files: a generated recording read back against its damage
// model, and the measure command with its report, plot and refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "tools/gen/DamagedRecording.h"
#include "tools/gen/GenCommand.h"
#include "tools/meter/DeviationPlot.h"
#include "tools/meter/MeasureCommand.h"

namespace wowfix::meter {
namespace {

class Folder {
public:
    Folder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("wowfix-meter-test-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

int run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
        const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    const int status = command(args, o, e);
    out = o.str();
    err = e.str();
    return status;
}

// The generator's damage, read by the meter: the slow band follows the
// model's drift and the unweighted band its wow and flutter.
TEST(MeterOnGeneratedFile, ReadsTheDamageModel) {
    Folder folder;
    const std::vector<std::string> args = {folder.file("d.wav"), "--pvc", folder.file("d.pvc"), "--seconds", "40",
                                           "--programme", "silence", "--test-tone", "-20", "--wow", "0.2@2",
                                           "--flutter", "0.05@12", "--drift", "0.15", "--seed", "5"};
    std::string out, err;
    ASSERT_EQ(run(gen::runGenCommand, args, out, err), 0) << err;

    gen::GeneratorSettings settings;
    settings.seconds = 40.0;
    settings.channels = 2;
    settings.wow = {0.2, 2.0};
    settings.flutter = {0.05, 12.0};
    settings.driftPercent = 0.15;
    settings.seed = 5;
    std::string error;
    const auto model = gen::DamagedRecording::create(settings, error);
    ASSERT_NE(model, nullptr) << error;
    auto periodic = [](double t) {
        return 0.002 * std::sin(2.0 * M_PI * 2.0 * t) + 0.0005 * std::sin(2.0 * M_PI * 12.0 * t);
    };

    Measurement m;
    ASSERT_TRUE(measureFile(folder.file("d.wav"), MeterSettings(), m, error)) << error;
    const DeviationBands& b = m.bands;
    double worstSlow = 0.0, worstFast = 0.0, largestFast = 0.0;
    for (std::size_t i = b.settledBegin; i < b.settledEnd; ++i) {
        const double t = b.startTime + i / b.rate;
        const double drift = model->speed().speed(t) - 1.0 - periodic(t);
        worstSlow = std::max(worstSlow, std::fabs(b.slow[i] - drift));
        worstFast = std::max(worstFast, std::fabs(b.unweighted[i] - periodic(t)));
        largestFast = std::max(largestFast, std::fabs(periodic(t)));
    }
    EXPECT_LT(worstSlow, 0.03 * 0.0015);
    EXPECT_LT(worstFast, 0.03 * 0.0025);
    EXPECT_NEAR(m.figures.unweightedPeak, largestFast, 0.02 * largestFast);
}

TEST(MeasureCommand, ReportsTheFiguresAndWritesThePlot) {
    Folder folder;
    std::string out, err;
    ASSERT_EQ(run(gen::runGenCommand,
                  {folder.file("t.wav"), "--pvc", folder.file("t.pvc"), "--seconds", "12", "--programme", "silence",
                   "--test-tone", "-20", "--flutter", "0.1@4"},
                  out, err),
              0);
    ASSERT_EQ(run(runMeasureCommand, {folder.file("t.wav"), "--plot", folder.file("t.png")}, out, err), 0) << err;
    for (const char* line : {"tone:          3150.000 Hz nominal", "speed offset:", "drift:",
                             "unweighted:    0.100", "weighted:      0.099", "measured over: 3.00 to 9.00 s"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    std::ifstream png(folder.file("t.png"), std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof(header));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    const auto be32 = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
    EXPECT_EQ(be32(16), kPlotWidth);
    EXPECT_EQ(be32(20), kPlotHeight);

    ASSERT_EQ(run(runMeasureCommand, {folder.file("t.wav"), "--tone", "auto"}, out, err), 0) << err;
    EXPECT_NE(out.find("strongest at 3150.0"), std::string::npos) << out;
}

TEST(MeasureCommand, RefusalsAreOneLineAndNonZero) {
    Folder folder;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {folder.file("missing.wav")},
        {"a.wav", "b.wav"},
        {"a.wav", "--tone"},
        {"a.wav", "--tone", "-5"},
        {"a.wav", "--tone", "3k"},
        {"a.wav", "--speed"},
    };
    for (const auto& args : cases) {
        std::string out, err;
        EXPECT_EQ(run(runMeasureCommand, args, out, err), 1);
        EXPECT_EQ(err.rfind("measure: ", 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_TRUE(out.empty());
    }
    std::string out, err;
    EXPECT_EQ(run(runMeasureCommand, {"--help"}, out, err), 0);
    EXPECT_NE(out.find("--plot"), std::string::npos);
}

TEST(DeviationPlot, DrawsTheDeviationBetweenItsExtremes) {
    DeviationBands bands;
    bands.rate = 100.0;
    for (int i = 0; i < 1000; ++i) {
        const double d = 0.001 * std::sin(2.0 * M_PI * i / 200.0);
        bands.total.push_back(d);
        bands.unweighted.push_back(d);
        bands.slow.push_back(0.0);
    }
    const RgbImage image = plotDeviation(bands);
    // The curve reaches the top and the bottom of its range, 5 % inside the frame.
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Rgb p = image.pixel(x, y);
            if (p.r == 20 && p.g == 40 && p.b == 150 && y > 25) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    const int plotTop = 30, plotBottom = image.height() - 1 - 45;
    const double inset = (plotBottom - plotTop) * 0.05 / 1.1;
    EXPECT_NEAR(top, plotTop + inset, 2.0);
    EXPECT_NEAR(bottom, plotBottom - inset, 2.0);
}

}  // namespace
}  // namespace wowfix::meter
