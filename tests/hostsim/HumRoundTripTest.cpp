// Hum tracking through the real wowfix plug-in: a generated recording whose
// mains hum was recorded onto the tape, so the hum carries the tape's speed.

#include "CommandDetectionControls.h"
#include "HostTestSupport.h"
#include "HumRecording.h"
#include "PilotRecording.h"

#include "host/VendorCommands.h"
#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"
#include "hostsim/cli/DetectionAlgorithm.h"
#include "hostsim/cli/DetectionControls.h"
#include "hostsim/cli/DetectionSteps.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/Usage.h"
#include "tools/gen/DamagedRecording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

using hostsim_test::CurvePoint;
using hostsim_test::TempDir;

namespace {

class HumDetection : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
        std::string error;
        recording = wowfix::gen::DamagedRecording::create(hostsim_test::humOnTapeSettings(10.0), error);
        ASSERT_NE(recording, nullptr) << error;
        samples.resize(static_cast<size_t>(recording->frames()));
        ASSERT_TRUE(recording->render(samples.data(), static_cast<long>(samples.size()), error)) << error;
        input = dir.file("hum.wav");
        hostsim_test::writeAudio(input, 1, 48000, recording->frames(),
                                 [&](long long n, int) { return samples[static_cast<size_t>(n)]; });
    }

    double trueSpeed(long long frame) const { return recording->speed().speed(static_cast<double>(frame) / 48000.0); }

    // Checks a detected curve and answers its correlation with the true speed
    // over the frames the tracker has settled on.
    double checkCurve(const std::vector<CurvePoint>& curve) {
        EXPECT_GT(curve.size(), 100u);
        for (const CurvePoint& p : curve) {
            EXPECT_TRUE(std::isfinite(p.value) && p.value > 0.0) << "at " << p.position;
            if (!(std::isfinite(p.value) && p.value > 0.0)) return 0.0;
        }
        const long long first = 2 * 48000, last = recording->frames() - 48000;
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        int n = 0;
        for (long long f = first; f < last; f += 256, ++n) {
            const double x = hostsim_test::curveAt(curve, f), y = trueSpeed(f);
            sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
            worst = std::max(worst, std::fabs(x - y));
        }
        const double cov = sxy - sx * sy / n, vx = sxx - sx * sx / n, vy = syy - sy * sy / n;
        return cov / std::sqrt(vx * vy);
    }

    std::string plugin;
    std::string input;
    std::vector<float> samples;
    std::unique_ptr<wowfix::gen::DamagedRecording> recording;
    double worst = 0.0;
    TempDir dir;
};

TEST_F(HumDetection, DetectedCurveFollowsTheTapesSpeed) {
    std::ostringstream output, messages;
    ASSERT_EQ(wowfix::hostsim::runCommandLine(
                  {"detect", input, "--algorithm", "hum", "--pvc", dir.file("hum.pvc"), "--quiet", "--plugin", plugin},
                  output, messages),
              0)
        << messages.str();
    const double correlation = checkCurve(hostsim_test::readCurve(dir.file("hum.pvc")));
    std::printf("hum detect: correlation %.6f, largest error %.3g\n", correlation, worst);
    // Measured: correlation above 0.99999, largest error about 8e-6 against a
    // 0.003 swing; the bounds leave room of about six times that.
    EXPECT_GT(correlation, 0.999);
    EXPECT_LT(worst, 5e-5);
}

// The library is given the mean of a stereo file's channels: hum in the left
// channel alone is tracked; hum in antiphase cancels and leaves the curve flat.
TEST_F(HumDetection, StereoFileIsTrackedFromTheMeanOfItsChannels) {
    for (const double right : {0.0, -1.0}) {
        const std::string stereo = dir.file("stereo.wav"), curve = dir.file("stereo.pvc");
        hostsim_test::writeAudio(stereo, 2, 48000, recording->frames(), [&](long long n, int c) {
            return static_cast<float>((c == 0 ? 1.0 : right) * samples[static_cast<size_t>(n)]);
        });
        std::ostringstream output, messages;
        ASSERT_EQ(wowfix::hostsim::runCommandLine(
                      {"detect", stereo, "--algorithm", "hum", "--pvc", curve, "--quiet", "--plugin", plugin}, output,
                      messages),
                  0)
            << messages.str();
        const std::vector<CurvePoint> points = hostsim_test::readCurve(curve);
        if (right == 0.0) {
            EXPECT_GT(checkCurve(points), 0.999);
        } else {
            for (const CurvePoint& p : points) ASSERT_DOUBLE_EQ(p.value, 1.0) << "at " << p.position;
        }
    }
}

TEST_F(HumDetection, PreprocessedPictureComesWithTheCurve) {
    std::ostringstream output, messages;
    const std::string picture = dir.file("pre.png"), curve = dir.file("pre.pvc");
    ASSERT_EQ(wowfix::hostsim::runCommandLine({"detect", input, "--algorithm", "hum", "--pvc", curve, "--preprocessed",
                                               picture, "--quiet", "--plugin", plugin},
                                              output, messages),
              0)
        << messages.str();
    std::FILE* file = std::fopen(picture.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char magic[4] = {};
    EXPECT_EQ(std::fread(magic, 1, 4, file), 4u);
    std::fclose(file);
    EXPECT_EQ(magic[1], 'P');
    EXPECT_EQ(magic[2], 'N');
    EXPECT_GT(checkCurve(hostsim_test::readCurve(curve)), 0.999);

    // Only the library algorithms preprocess; and one spectrogram per run.
    const std::string refused = dir.file("refused.png");
    EXPECT_EQ(wowfix::hostsim::runCommandLine({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("p.pvc"),
                                               "--preprocessed", refused, "--quiet", "--plugin", plugin},
                                              output, messages),
              wowfix::hostsim::kExitUsage);
    EXPECT_EQ(wowfix::hostsim::runCommandLine({"auto", input, dir.file("out.wav"), "--algorithm", "hum", "--png",
                                               dir.file("a.png"), "--preprocessed", refused, "--plugin", plugin},
                                              output, messages),
              wowfix::hostsim::kExitUsage);
    EXPECT_FALSE(hostsim_test::exists(refused));
    EXPECT_FALSE(hostsim_test::exists(dir.file("out.wav")));
}

// The plug-in copied on its own into a folder: it loads and works, and only
// choosing hum tracking fails, saying which library is missing.
TEST_F(HumDetection, PluginWithoutItsHumLibrariesFailsOnlyTheHumAlgorithm) {
    const std::string alone = dir.file("libwowfix.so");
    {
        std::FILE* from = std::fopen(plugin.c_str(), "rb");
        std::FILE* to = std::fopen(alone.c_str(), "wb");
        ASSERT_TRUE(from != nullptr && to != nullptr);
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
            ASSERT_EQ(std::fwrite(buffer, 1, n, to), n);
        std::fclose(from);
        std::fclose(to);
    }
    std::ostringstream output, messages;
    EXPECT_EQ(wowfix::hostsim::runCommandLine({"info", "--plugin", alone}, output, messages), 0) << messages.str();
    EXPECT_EQ(wowfix::hostsim::runCommandLine({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("p.pvc"),
                                               "--quiet", "--plugin", alone},
                                              output, messages),
              0)
        << messages.str();
    messages.str("");
    EXPECT_NE(wowfix::hostsim::runCommandLine({"detect", input, "--algorithm", "hum", "--pvc", dir.file("h.pvc"),
                                               "--quiet", "--plugin", alone},
                                              output, messages),
              0);
    EXPECT_NE(messages.str().find("PVC_Plugin"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("h.pvc")));
}

// "Show Hum" through the editor's button and through the plug-in's scripted
// commands for it: the same curve.
TEST_F(HumDetection, RuntimeVariantGivesAFiniteCurveThroughEitherControls) {
    const wowfix::hostsim::DetectionAlgorithm* hum = wowfix::hostsim::findAlgorithm("hum");
    ASSERT_NE(hum, nullptr);
    for (const bool throughEditor : {true, false}) {
        SCOPED_TRACE(throughEditor ? "editor" : "scripted commands");
        std::string error;
        auto source = wowfix::hostsim::SndfileSource::open(input, error);
        ASSERT_NE(source, nullptr) << error;
        wowfix::hostsim::OfflineHost host(1000);
        ASSERT_TRUE(host.loadPlugin(plugin)) << host.error();
        host.openFile(std::move(source), "hum.wav");
        ASSERT_EQ(host.notifyFiles(false), 1);
        std::unique_ptr<wowfix::hostsim::DetectionControls> controls =
            throughEditor ? wowfix::hostsim::openDetectionControls(host, error)
                          : hostsim_test::commandDetectionControls(host);
        ASSERT_NE(controls, nullptr) << error;
        std::ostringstream messages;
        ASSERT_TRUE(wowfix::hostsim::analyseWholeFile(host, true, messages, error)) << error;
        ASSERT_TRUE(controls->choose(*hum, error)) << error;
        ASSERT_TRUE(controls->createCurve(*hum, true, true, messages, error)) << error;
        const std::string path = dir.file(throughEditor ? "runtime-editor.pvc" : "runtime-vendor.pvc");
        ASSERT_TRUE(controls->exportCurve(path, error)) << error;
        const double correlation = checkCurve(hostsim_test::readCurve(path));
        std::printf("hum runtime: correlation %.6f, largest error %.3g\n", correlation, worst);
        EXPECT_GT(correlation, 0.999);
        EXPECT_LT(worst, 5e-5);
    }
    const auto byEditor = hostsim_test::readCurve(dir.file("runtime-editor.pvc"));
    const auto byCommands = hostsim_test::readCurve(dir.file("runtime-vendor.pvc"));
    ASSERT_EQ(byEditor.size(), byCommands.size());
    for (std::size_t i = 0; i < byEditor.size(); ++i) {
        EXPECT_EQ(byEditor[i].position, byCommands[i].position) << i;
        EXPECT_EQ(byEditor[i].value, byCommands[i].value) << i;
    }
}

}  // namespace
