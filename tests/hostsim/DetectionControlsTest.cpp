// The detection's commands given as clicks on the editor's window, against
// the plug-in's scripted commands for the same buttons: the clicks make the
// same curve as the commands, and both refuse what the editor refuses.
#include "CommandDetectionControls.h"
#include "HostTestSupport.h"
#include "PilotRecording.h"

#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"
#include "hostsim/cli/DetectionAlgorithm.h"
#include "hostsim/cli/DetectionControls.h"
#include "hostsim/cli/DetectionSteps.h"
#include "hostsim/cli/HostSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

namespace {

using hostsim_test::CurvePoint;
using wowfix::hostsim::DetectionControls;
using wowfix::hostsim::OfflineHost;

class DetectionControlsRoad : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
        recording.frames = 6 * 48000;
        input = dir.file("pilot.wav");
        hostsim_test::writePilotRecording(input, recording, [](long long n) {
            return 1.0 + 0.004 * std::sin(2.0 * M_PI * 0.7 * static_cast<double>(n) / 48000.0);
        });
    }

    // A session on `path` with the controls of one kind.
    std::unique_ptr<DetectionControls> open(OfflineHost& host, bool throughEditor, const std::string& path) {
        std::string error;
        auto source = wowfix::hostsim::SndfileSource::open(path, error);
        EXPECT_NE(source, nullptr) << error;
        if (source == nullptr || !host.loadPlugin(plugin)) return nullptr;
        host.openFile(std::move(source), "pilot.wav");
        if (host.notifyFiles(false) != 1) return nullptr;
        auto controls = throughEditor ? wowfix::hostsim::openDetectionControls(host, error)
                                      : hostsim_test::commandDetectionControls(host);
        EXPECT_NE(controls, nullptr) << error;
        return controls;
    }

    // The whole detection of `algorithm`, its curve exported into `curve`.
    void detect(bool throughEditor, const std::string& algorithm, const std::vector<std::string>& areas,
                const std::string& curve) {
        OfflineHost host;
        auto controls = open(host, throughEditor, input);
        ASSERT_NE(controls, nullptr);
        wowfix::hostsim::DetectionRequest request;
        request.algorithm = wowfix::hostsim::findAlgorithm(algorithm);
        ASSERT_NE(request.algorithm, nullptr);
        std::string error;
        ASSERT_TRUE(wowfix::hostsim::readSpectralAreas(areas, algorithm, request.areas, error)) << error;
        request.quiet = true;
        std::ostringstream messages;
        ASSERT_EQ(wowfix::hostsim::detectCurve(host, *controls, request, messages, error), 0)
            << error << "\n" << messages.str();
        ASSERT_TRUE(controls->exportCurve(curve, error)) << error;
    }

    std::string plugin;
    std::string input;
    hostsim_test::PilotRecording recording;
    hostsim_test::TempDir dir;
};

TEST_F(DetectionControlsRoad, EitherRoadMakesTheSameCurve) {
    const struct {
        const char* algorithm;
        std::vector<std::string> areas;
    } cases[] = {{"pilot", {}}, {"pilot-precise", {}}, {"spectral", {"0.5:5.5:600:1500"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.algorithm);
        const std::string byEditor = dir.file(std::string(c.algorithm) + "-editor.pvc");
        const std::string byCommands = dir.file(std::string(c.algorithm) + "-commands.pvc");
        detect(true, c.algorithm, c.areas, byEditor);
        detect(false, c.algorithm, c.areas, byCommands);
        const std::vector<CurvePoint> a = hostsim_test::readCurve(byEditor);
        const std::vector<CurvePoint> b = hostsim_test::readCurve(byCommands);
        ASSERT_GT(a.size(), 10u);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].position, b[i].position) << i;
            EXPECT_EQ(a[i].value, b[i].value) << i;
        }
        // The curve follows the wobble it was made from (0.4 % at 0.7 Hz).
        double low = 2.0, high = 0.0;
        for (const CurvePoint& p : a) low = std::min(low, p.value), high = std::max(high, p.value);
        EXPECT_GT(high - low, 0.004) << c.algorithm;
    }
}

TEST_F(DetectionControlsRoad, TheEditorsRefusalsComeBackWithItsReason) {
    const auto* pilot = wowfix::hostsim::findAlgorithm("pilot");
    const auto* spectral = wowfix::hostsim::findAlgorithm("spectral");
    ASSERT_NE(pilot, nullptr);
    ASSERT_NE(spectral, nullptr);
    for (const bool throughEditor : {true, false}) {
        SCOPED_TRACE(throughEditor ? "editor" : "scripted commands");
        std::ostringstream messages;
        std::string error;
        {
            // No preview yet: nothing to build the curve from.
            OfflineHost host;
            auto controls = open(host, throughEditor, input);
            ASSERT_NE(controls, nullptr);
            ASSERT_TRUE(wowfix::hostsim::analyseWholeFile(host, true, messages, error)) << error;
            ASSERT_TRUE(controls->choose(*spectral, error)) << error;
            EXPECT_FALSE(controls->createFromPreview(error));
            EXPECT_NE(error.find("Preview"), std::string::npos) << error;
            // A folder that is not there: nothing written, and said so.
            const std::string nowhere = dir.file("missing/curve.pvc");
            EXPECT_FALSE(controls->exportCurve(nowhere, error));
            EXPECT_NE(error.find("missing/curve.pvc"), std::string::npos) << error;
            EXPECT_FALSE(hostsim_test::exists(nowhere));
        }
        {
            // Below the pilot tracker's lowest rate.
            const std::string low = dir.file("low.wav");
            hostsim_test::writeAudio(low, 1, 22050, 22050, [](long long n, int) {
                return static_cast<float>(0.1 * std::sin(0.2 * static_cast<double>(n)));
            });
            OfflineHost host;
            auto controls = open(host, throughEditor, low);
            ASSERT_NE(controls, nullptr);
            ASSERT_TRUE(wowfix::hostsim::analyseWholeFile(host, true, messages, error)) << error;
            const bool chosen = controls->choose(*pilot, error);
            const bool made = chosen && controls->createCurve(*pilot, false, true, messages, error);
            EXPECT_FALSE(made);
            EXPECT_NE(error.find("Sampling frequency is too low!"), std::string::npos) << error;
        }
    }
}

}  // namespace
