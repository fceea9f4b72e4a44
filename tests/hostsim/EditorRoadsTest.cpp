// The user's roads through the editor window, as wowfix-host script runs
// them with the real plug-in on generated recordings of a known speed: a
// detector chosen in the selector, its curve made, edited, undone and redone,
// exported and imported, and the correction of the file, whose wow the meter
// reads away. Every road ends with a picture of the window.

#include "HostTestSupport.h"
#include "HumRecording.h"
#include "PilotRecording.h"

#include "hostsim/cli/Usage.h"
#include "tests/support/RgbPng.h"
#include "tools/gen/DamagedRecording.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cmath>
#include <sstream>

using hostsim_test::CurvePoint;
using hostsim_test::kTwoPi;
using hostsim_test::PilotRecording;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::uint32_t at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return (rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2];
    }
};

bool readPicture(const std::string& path, Picture& picture) {
    return wowfix::test::readRgbPng(path, picture.width, picture.height, picture.rgb);
}

double numberAfter(const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    return at == std::string::npos ? -1.0 : std::atof(text.c_str() + at + label.size());
}

// RMS of (curve - speed) over the frames from `first` to `last`.
double rmsError(const std::vector<CurvePoint>& curve, const hostsim_test::SpeedCurve& speed, long long first,
                long long last) {
    double sum = 0.0;
    long long count = 0;
    for (long long n = first; n < last; n += 256, ++count) {
        const double e = hostsim_test::curveAt(curve, n) - speed(n);
        sum += e * e;
    }
    return count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 1.0;
}

class EditorRoad : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
    }

    // Runs `lines` on `input`; the exit status.
    // With `threaded` the tasks run on a worker thread as in a host with a
    // window.
    int script(const std::string& input, const std::vector<std::string>& lines, bool threaded = false) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        hostsim_test::writeText(dir.file("road.txt"), text);
        std::vector<std::string> args{"script", input, dir.file("road.txt"), "--plugin", plugin, "--quiet"};
        if (threaded) args.push_back("--threaded");
        out.str("");
        messages.str("");
        return wowfix::hostsim::runCommandLine(args, out, messages);
    }

    // The meter's unweighted peak wow and flutter of a file's steady tone, in per cent.
    double wowAndFlutter(const std::string& file, double toneHz) {
        std::ostringstream report;
        std::ostringstream errors;
        const int status = wowfix::hostsim::runCommandLine(
            {"measure", file, "--tone", std::to_string(static_cast<int>(toneHz))}, report, errors);
        EXPECT_EQ(status, 0) << errors.str();
        return numberAfter(report.str(), "unweighted:");
    }

    // The last picture of a road: the whole window, not one flat colour.
    void expectPicture(const std::string& path) {
        Picture picture;
        ASSERT_TRUE(readPicture(path, picture)) << path;
        EXPECT_EQ(picture.width, 780);
        EXPECT_EQ(picture.height, 470);
        std::vector<std::uint32_t> colours;
        for (int y = 0; y < picture.height && colours.size() < 8; y += 3)
            for (int x = 0; x < picture.width && colours.size() < 8; x += 3) {
                const std::uint32_t c = picture.at(x, y);
                if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
            }
        EXPECT_GE(colours.size(), 8u) << path;
    }

    std::string pilotRecording(const std::string& name, const PilotRecording& recording,
                               const hostsim_test::SpeedCurve& speed) {
        const std::string path = dir.file(name);
        hostsim_test::writePilotRecording(path, recording, speed);
        return path;
    }

    std::string plugin;
    std::ostringstream out;
    std::ostringstream messages;
    hostsim_test::TempDir dir;
};

// 0.3 % of wow at 1 Hz.
double wowAtOneHertz(long long n) { return 1.0 + 0.003 * std::sin(kTwoPi * static_cast<double>(n) / 48000.0); }

TEST_F(EditorRoad, PilotCurveMadeEditedUndoneRedoneExportedAndProcessed) {
    PilotRecording recording;
    recording.frames = 6 * 48000;
    recording.programmeHz = 3150.0;
    const std::string input = pilotRecording("pilot.wav", recording, wowAtOneHertz);
    // First the curve and its points on the panel, to find one to move.
    ASSERT_EQ(script(input, {"click 72=4", "click 40", "export " + dir.file("found.pvc"), "click 72=1", "click 65",
                             "screenshot " + dir.file("points.png") + " --panel"}),
              0)
        << messages.str() << out.str();
    const std::vector<CurvePoint> found = hostsim_test::readCurve(dir.file("found.pvc"));
    ASSERT_GT(found.size(), 20u);
    EXPECT_LT(rmsError(found, wowAtOneHertz, 48000, recording.frames - 48000), 0.0008);

    // The point nearest the middle, where the panel's 668 columns put it.
    const CurvePoint& middle = found[found.size() / 2];
    const int x = 1 + static_cast<int>(std::lround(static_cast<double>(middle.position) * 668.0 /
                                                   static_cast<double>(recording.frames)));
    Picture points;
    ASSERT_TRUE(readPicture(dir.file("points.png"), points));
    // The point's mark and the line through it are black; the panel's
    // border rows are left out.
    std::vector<int> black;
    for (int row = 3; row + 3 < points.height; ++row)
        if (points.at(x, row) == 0) black.push_back(row);
    ASSERT_FALSE(black.empty()) << "no curve in column " << x;
    const int y = black[black.size() / 2];
    ASSERT_GE(y, 25);

    const std::string end = dir.file("end.png");
    ASSERT_EQ(script(input, {"click 72=4", "click 40", "click 72=1", "click 65", "click 66",
                             "drag " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(x) + "," +
                                 std::to_string(y - 20),
                             "export " + dir.file("moved.pvc"), "undo", "export " + dir.file("undone.pvc"), "redo",
                             "export " + dir.file("redone.pvc"), "undo", "process " + dir.file("corrected.wav"),
                             "screenshot " + end}),
              0)
        << messages.str() << out.str();
    const std::vector<CurvePoint> moved = hostsim_test::readCurve(dir.file("moved.pvc"));
    ASSERT_EQ(moved.size(), found.size());
    int changed = 0;
    for (std::size_t i = 0; i < moved.size(); ++i) changed += moved[i].value != found[i].value;
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(hostsim_test::readBytes(dir.file("undone.pvc")), hostsim_test::readBytes(dir.file("found.pvc")));
    EXPECT_EQ(hostsim_test::readBytes(dir.file("redone.pvc")), hostsim_test::readBytes(dir.file("moved.pvc")));

    // The correction by the curve found takes the wow out of the programme,
    // down to what the tracker's thinning leaves: it keeps a point only where
    // the reading moved by more than 0.001, so steps of about 0.1 % remain.
    const double before = wowAndFlutter(input, recording.programmeHz);
    const double after = wowAndFlutter(dir.file("corrected.wav"), recording.programmeHz);
    EXPECT_GT(before, 0.25);
    EXPECT_LT(after, 0.15) << "before " << before;
    EXPECT_LT(after, 0.4 * before);
    expectPicture(end);
}

// The same road with the tasks on a worker thread: the click only starts
// the task, the wait sees it to its end, and the files come out the same.
TEST_F(EditorRoad, PilotRoadWithTasksOnAWorkerThreadWritesTheSameFiles) {
    PilotRecording recording;
    recording.frames = 4 * 48000;
    const std::string input = pilotRecording("pilot.wav", recording, wowAtOneHertz);
    for (const bool threaded : {false, true}) {
        SCOPED_TRACE(threaded ? "worker thread" : "host's thread");
        const std::string tag = threaded ? "-worker" : "-host";
        ASSERT_EQ(script(input,
                         {"click 72=4", "click 40", "wait", "export " + dir.file("found" + tag + ".pvc"),
                          "screenshot " + dir.file("end" + tag + ".png"), "process " + dir.file("corrected" + tag + ".wav"),
                          "wait"},
                         threaded),
                  0)
            << messages.str() << out.str();
        // The tracking's task is told of where it has ended.
        const std::string report = out.str();
        const std::size_t told = report.find("task(s) ran");
        ASSERT_NE(told, std::string::npos) << report;
        const std::size_t line = report.rfind("line ", told);
        EXPECT_EQ(report.compare(line, 13, threaded ? "line 3: wait:" : "line 2: click"), 0) << report;
    }
    EXPECT_EQ(hostsim_test::readBytes(dir.file("found-worker.pvc")), hostsim_test::readBytes(dir.file("found-host.pvc")));
    // The audio, not the bytes: the file's peak chunk carries the time of writing.
    const hostsim_test::Audio byWorker = hostsim_test::readAudio(dir.file("corrected-worker.wav"));
    const hostsim_test::Audio byHost = hostsim_test::readAudio(dir.file("corrected-host.wav"));
    EXPECT_GT(byWorker.frames, recording.frames * 99 / 100);
    EXPECT_EQ(byWorker.samples, byHost.samples);
    EXPECT_GT(hostsim_test::readCurve(dir.file("found-worker.pvc")).size(), 20u);
}

TEST_F(EditorRoad, ImportedCurveCorrectsAsTheCorrectCommandDoesAndUndoGivesTheOldOneBack) {
    PilotRecording recording;
    recording.frames = 4 * 48000;
    recording.programmeHz = 3150.0;
    const std::string input = pilotRecording("pilot.wav", recording, wowAtOneHertz);
    // The true speed as a curve.
    std::string text;
    for (long long n = 0; n < recording.frames; n += 480) text += std::to_string(n) + " " +
                                                                  std::to_string(wowAtOneHertz(n)) + "\n";
    hostsim_test::writeText(dir.file("true.pvc"), text);
    const std::string end = dir.file("end.png");
    ASSERT_EQ(script(input, {"export " + dir.file("before.pvc"), "import " + dir.file("true.pvc"),
                             "export " + dir.file("imported.pvc"), "process " + dir.file("road.wav"), "undo",
                             "export " + dir.file("undone.pvc"), "screenshot " + end}),
              0)
        << messages.str() << out.str();
    const std::vector<CurvePoint> imported = hostsim_test::readCurve(dir.file("imported.pvc"));
    ASSERT_FALSE(imported.empty());
    EXPECT_LT(rmsError(imported, wowAtOneHertz, 0, recording.frames), 1e-5);
    EXPECT_EQ(hostsim_test::readBytes(dir.file("undone.pvc")), hostsim_test::readBytes(dir.file("before.pvc")));

    std::ostringstream report;
    std::ostringstream errors;
    ASSERT_EQ(wowfix::hostsim::runCommandLine({"correct", input, dir.file("command.wav"), "--pvc", dir.file("true.pvc"),
                                               "--plugin", plugin, "--quiet"},
                                              report, errors),
              0)
        << errors.str();
    const hostsim_test::Audio road = hostsim_test::readAudio(dir.file("road.wav"));
    const hostsim_test::Audio command = hostsim_test::readAudio(dir.file("command.wav"));
    ASSERT_EQ(road.frames, command.frames);
    EXPECT_EQ(road.samples, command.samples);
    EXPECT_LT(wowAndFlutter(dir.file("road.wav"), recording.programmeHz), 0.05);
    expectPicture(end);
}

TEST_F(EditorRoad, TheTimeBarIsPagedByAClickBesideItsThumb) {
    PilotRecording recording;
    recording.frames = 4 * 48000;
    const std::string input = pilotRecording("pilot.wav", recording, wowAtOneHertz);
    // Zoomed in, a click right of the thumb pages on and the view follows
    // once the button is up.
    ASSERT_EQ(script(input, {"click 17", "screenshot " + dir.file("zoomed.png"), "click 13=3",
                             "screenshot " + dir.file("paged.png")}),
              0)
        << messages.str() << out.str();
    EXPECT_NE(out.str().find("line 3: click 13=3: done; 1 task(s) ran"), std::string::npos) << out.str();
    EXPECT_NE(hostsim_test::readBytes(dir.file("zoomed.png")), hostsim_test::readBytes(dir.file("paged.png")));
    // A request that no click makes is refused.
    EXPECT_EQ(script(input, {"click 17", "click 13=5"}), 1);
    EXPECT_NE(messages.str().find("click 13=5"), std::string::npos) << messages.str();
}

TEST_F(EditorRoad, ACurveFileThatCannotBeReadStopsTheScriptAndKeepsTheCurve) {
    PilotRecording recording;
    recording.frames = 2 * 48000;
    const std::string input = pilotRecording("pilot.wav", recording, wowAtOneHertz);
    hostsim_test::writeText(dir.file("garbage.pvc"), "this is no curve\n");
    for (bool threaded : {false, true}) {
        EXPECT_EQ(script(input, {"export " + dir.file("kept.pvc"), "import " + dir.file("garbage.pvc"),
                                 "export " + dir.file("after.pvc")},
                         threaded),
                  1)
            << out.str();
        EXPECT_NE(messages.str().find("could not be imported"), std::string::npos) << messages.str();
        EXPECT_FALSE(std::filesystem::exists(dir.file("after.pvc")));
        EXPECT_FALSE(hostsim_test::readCurve(dir.file("kept.pvc")).empty());
    }
}

TEST_F(EditorRoad, HumCurveMadeWithTheLibraryAndProcessed) {
    std::string error;
    auto generated = wowfix::gen::DamagedRecording::create(hostsim_test::humOnTapeSettings(8.0), error);
    ASSERT_NE(generated, nullptr) << error;
    std::vector<float> samples(static_cast<std::size_t>(generated->frames()));
    ASSERT_TRUE(generated->render(samples.data(), static_cast<long>(samples.size()), error)) << error;
    const std::string input = dir.file("hum.wav");
    hostsim_test::writeAudio(input, 1, 48000, generated->frames(),
                             [&](long long n, int) { return samples[static_cast<std::size_t>(n)]; });
    const auto speed = [&](long long n) { return generated->speed().speed(static_cast<double>(n) / 48000.0); };

    const std::string end = dir.file("end.png");
    ASSERT_EQ(script(input, {"click 72=3", "click 56", "screenshot " + dir.file("hum-shown.png"), "click 40",
                             "export " + dir.file("hum.pvc"), "process " + dir.file("corrected.wav"),
                             "screenshot " + end}),
              0)
        << messages.str() << out.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("hum.pvc"));
    ASSERT_GT(curve.size(), 100u);
    EXPECT_LT(rmsError(curve, speed, 2 * 48000, generated->frames() - 48000), 0.0003);
    const double before = wowAndFlutter(input, 1000.0);
    EXPECT_GT(before, 0.25);
    EXPECT_LT(wowAndFlutter(dir.file("corrected.wav"), 1000.0), 0.1 * before);
    expectPicture(end);
}

// 0.3 % of wow at 0.5 Hz, at 44.1 kHz.
double slowWow(long long n) { return 1.0 + 0.003 * std::sin(kTwoPi * 0.5 * static_cast<double>(n) / 44100.0); }
// 1 % of wow at 0.5 Hz: the spectral detector's default 512-point transform
// resolves it on a partial at 8 kHz.
double deepWow(long long n) { return 1.0 + 0.01 * std::sin(kTwoPi * 0.5 * static_cast<double>(n) / 44100.0); }

PilotRecording partialRecording(double programmeHz) {
    PilotRecording recording;
    recording.sampleRate = 44100;
    recording.frames = 4 * 44100;
    recording.pilotHz = 15000.0;
    recording.programmeHz = programmeHz;
    recording.programmeAmplitude = 0.5;
    return recording;
}

// The panel row of a frequency in the linear view of 0 Hz ... half the rate.
int rowOf(double hz, int rate) { return static_cast<int>(std::lround(259.0 * (1.0 - hz / (rate / 2.0)))); }

std::string dragText(int x1, int y1, int x2, int y2) {
    return "drag " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
           std::to_string(y2);
}

TEST_F(EditorRoad, SpectralCurveFromAMarkedAreaPreviewedAndProcessed) {
    const PilotRecording recording = partialRecording(8000.0);
    const std::string input = pilotRecording("partial.wav", recording, deepWow);
    const std::string end = dir.file("end.png");
    ASSERT_EQ(script(input, {"click 72=2", dragText(2, rowOf(9000.0, 44100), 667, rowOf(7000.0, 44100)),
                             "click 80", "click 40", "export " + dir.file("spectral.pvc"),
                             "process " + dir.file("corrected.wav"), "screenshot " + end}),
              0)
        << messages.str() << out.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("spectral.pvc"));
    ASSERT_GT(curve.size(), 50u);
    // The wow itself is 0.007 RMS.
    EXPECT_LT(rmsError(curve, deepWow, 44100 / 4, recording.frames - 44100 / 4), 0.001);
    const double before = wowAndFlutter(input, recording.programmeHz);
    EXPECT_GT(before, 0.9);
    EXPECT_LT(wowAndFlutter(dir.file("corrected.wav"), recording.programmeHz), 0.15 * before);
    expectPicture(end);
}

TEST_F(EditorRoad, CentreOfGravityCurveDrawnAlongATonalLineUndoneRedoneAndProcessed) {
    const PilotRecording recording = partialRecording(2000.0);
    const std::string input = pilotRecording("partial.wav", recording, slowWow);
    // The view zoomed onto the line, whose reference row (where the flat
    // curve is drawn) a press must hit for ratios about 1.
    const std::vector<std::string> zoom{"click 96", dragText(2, rowOf(2400.0, 44100), 667, rowOf(1600.0, 44100)),
                                        "click 72=5"};
    std::vector<std::string> first = zoom;
    first.push_back("screenshot " + dir.file("zoomed.png") + " --panel");
    ASSERT_EQ(script(input, first), 0) << messages.str() << out.str();
    Picture zoomed;
    ASSERT_TRUE(readPicture(dir.file("zoomed.png"), zoomed));
    int row = -1;
    for (int y = 3; y + 3 < zoomed.height && row < 0; ++y)
        if (zoomed.at(300, y) == 0) row = y;
    ASSERT_GT(row, 0) << "no reference line";

    std::vector<std::string> road = zoom;
    // Dragged 12 rows off the line: the tracker's tolerance level 13.
    for (const std::string& line :
         {dragText(4, row, 664, row + 12), "export " + dir.file("cog.pvc"), std::string("undo"),
          "export " + dir.file("undone.pvc"), std::string("redo"), "export " + dir.file("redone.pvc"),
          "process " + dir.file("corrected.wav"), "screenshot " + dir.file("end.png")})
        road.push_back(line);
    ASSERT_EQ(script(input, road), 0) << messages.str() << out.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("cog.pvc"));
    ASSERT_GT(curve.size(), 10u);
    // The tracker reads ratios to the line's first column; the recording
    // starts at nominal speed. The wow itself is 0.0021 RMS.
    EXPECT_LT(rmsError(curve, slowWow, 44100 / 2, recording.frames - 44100 / 2), 0.0008);
    const std::vector<CurvePoint> undone = hostsim_test::readCurve(dir.file("undone.pvc"));
    ASSERT_FALSE(undone.empty());
    for (const CurvePoint& p : undone) EXPECT_DOUBLE_EQ(p.value, 1.0) << "at " << p.position;
    EXPECT_EQ(hostsim_test::readBytes(dir.file("redone.pvc")), hostsim_test::readBytes(dir.file("cog.pvc")));
    const double before = wowAndFlutter(input, recording.programmeHz);
    EXPECT_GT(before, 0.25);
    EXPECT_LT(wowAndFlutter(dir.file("corrected.wav"), recording.programmeHz), 0.4 * before);
    expectPicture(dir.file("end.png"));
}

}  // namespace
