// The .pvc that the generator writes: its text form, where its points lie,
// and that its values are the ones that make wowfix's correction rule give
// the programme back.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "GenTestSupport.h"

namespace wowfix::gentest {
namespace {

TEST(TrueCurveFile, LinesArePositionSpaceSixDecimalsAndCrLf) {
    ScratchFolder folder;
    ASSERT_EQ(runGen({folder.file("a.wav"), "--pvc", folder.file("a.pvc"), "--rate", "8000", "--seconds", "1",
                      "--programme", "sine:1000", "--wow", "0.3@2", "--pvc-step", "300"}),
              0);
    const std::string text = readBytes(folder.file("a.pvc"));
    const std::regex line("(-?[0-9]+) ([0-9]+\\.[0-9]{6})\r\n");
    std::vector<long> positions;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) {
        positions.push_back(std::stol((*it)[1]));
    }
    // Nothing but such lines.
    std::string rebuilt = std::regex_replace(text, line, "");
    EXPECT_EQ(rebuilt, "");
    // 0, 300, …, 7800 and the last frame 7999.
    ASSERT_EQ(positions.size(), 28u);
    for (std::size_t i = 0; i + 1 < positions.size(); ++i) EXPECT_EQ(positions[i], static_cast<long>(300 * i));
    EXPECT_EQ(positions.back(), 7999);
}

TEST(TrueCurveFile, LastFrameIsNotRepeatedWhenTheStepLandsOnIt) {
    ScratchFolder folder;
    ASSERT_EQ(runGen({folder.file("a.wav"), "--pvc", folder.file("a.pvc"), "--rate", "8000", "--seconds", "1",
                      "--programme", "silence", "--pvc-step", "1333"}),
              0);
    const std::vector<PvcPoint> points = readPvc(folder.file("a.pvc"));
    ASSERT_EQ(points.size(), 8u);  // 0, 1333, …, 7998 and 7999
    EXPECT_EQ(points[6].position, 7998);
    EXPECT_EQ(points.back().position, 7999);
    ASSERT_EQ(runGen({folder.file("c.wav"), "--pvc", folder.file("c.pvc"), "--rate", "8000", "--seconds", "1",
                      "--programme", "silence", "--pvc-step", "421"}),
              0);
    const std::vector<PvcPoint> landing = readPvc(folder.file("c.pvc"));
    ASSERT_EQ(landing.size(), 20u);  // 0, 421, …, 7999 = 19 · 421
    EXPECT_EQ(landing[18].position, 7578);
    EXPECT_EQ(landing.back().position, 7999);
    ASSERT_EQ(runGen({folder.file("b.wav"), "--pvc", folder.file("b.pvc"), "--rate", "8000", "--seconds", "1",
                      "--programme", "silence", "--pvc-step", "7999"}),
              0);
    const std::vector<PvcPoint> two = readPvc(folder.file("b.pvc"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].position, 0);
    EXPECT_EQ(two[1].position, 7999);
    for (const PvcPoint& p : two) EXPECT_EQ(p.value, 1.0);
}

class TrueCurveValues : public ::testing::Test {
protected:
    const gen::PeriodicDamage wow{0.3, 0.5};
    const gen::PeriodicDamage flutter{0.1, 6.0};
    const double fs = 44100.0;
    const std::int64_t frames = 441000;
    ScratchFolder folder;
    std::vector<PvcPoint> points;
    std::vector<double> tau;

    void SetUp() override {
        ASSERT_EQ(runGen({folder.file("a.wav"), "--pvc", folder.file("a.pvc"), "--programme", "silence",
                          "--channels", "1", "--wow", "0.3@0.5", "--flutter", "0.1@6"}),
                  0);
        points = readPvc(folder.file("a.pvc"));
        tau = integratedWarpedTime(wow, flutter, fs, frames);
    }
};

// r(n) = fs·(τ(n+1) − τ(n)), τ integrated numerically here.
TEST_F(TrueCurveValues, EachValueIsTheSpeedAveragedOverItsFrame) {
    ASSERT_EQ(points.size(), 1724u);
    for (const PvcPoint& p : points) {
        const double expected = fs * (tau[p.position + 1] - tau[p.position]);
        ASSERT_NEAR(p.value, expected, 6e-7) << "at " << p.position;
    }
}

TEST_F(TrueCurveValues, ValueAboveOneWhereTheRecordingRunsFast) {
    // The wow's crest at t = 0.5 s (a quarter of its 2 s period), where the
    // flutter (6 Hz) crosses zero: the speed is 1.003 there.
    const PvcPoint* crest = nullptr;
    for (const PvcPoint& p : points)
        if (crest == nullptr || std::llabs(p.position - 22050) < std::llabs(crest->position - 22050)) crest = &p;
    EXPECT_NEAR(crest->value, 1.003, 5e-5);
}

// wowfix's rule: the read position advances 1/r(trunc p) input frames per
// output frame, r interpolated linearly between the curve's points. Along
// the true curve output frame m must read the input where it holds
// programme time m / fs.
TEST_F(TrueCurveValues, CorrectionAlongTheCurveReadsEachProgrammeInstantOnTime) {
    auto curve = [&](std::int64_t i) {
        auto after = std::lower_bound(points.begin(), points.end(), i,
                                      [](const PvcPoint& p, std::int64_t v) { return p.position < v; });
        if (after->position == i) return after->value;
        const PvcPoint& b = *after;
        const PvcPoint& a = *(after - 1);
        return a.value + (b.value - a.value) * static_cast<double>(i - a.position) / (b.position - a.position);
    };
    double p = 0.0;
    double worst = 0.0;
    std::int64_t m = 0;
    for (; p < static_cast<double>(frames - 1); ++m) {
        const auto i = static_cast<std::int64_t>(p);
        const double heldTime = tau[i] + (tau[i + 1] - tau[i]) * (p - i);  // programme time at position p
        worst = std::max(worst, std::fabs(heldTime * fs - static_cast<double>(m)));
        p += 1.0 / curve(i);
    }
    EXPECT_LT(worst, 0.05) << "output frames off the programme's time";
    // The corrected file is as long as the programme: about fs·τ(end).
    EXPECT_NEAR(static_cast<double>(m), fs * tau[frames - 1], 2.0);
}

}  // namespace
}  // namespace wowfix::gentest
