#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hostsim/curve/CurveRate.h"
#include "hostsim/curve/PvcText.h"

namespace wowfix::curve {
namespace {

bool parse(const std::string& text, SpeedCurve& c, std::string& error) {
    std::istringstream in(text);
    return parsePvc(in, "t.pvc", c, error);
}

TEST(PvcText, WritesTheFileFormatAndReadsItBack) {
    SpeedCurve c;
    c.points = {{0, 1.0}, {44100, 1.0025}, {88199, 0.9979994}};
    EXPECT_EQ(formatPvc(c), "0 1.000000\r\n44100 1.002500\r\n88199 0.997999\r\n");
    std::filesystem::create_directories(std::getenv("WOWFIX_TEMP"));
    const std::string path = std::string(std::getenv("WOWFIX_TEMP")) + "/curve-roundtrip.pvc";
    std::string error;
    ASSERT_TRUE(writePvcFile(path, c, error)) << error;
    SpeedCurve back;
    ASSERT_TRUE(readPvcFile(path, back, error)) << error;
    ASSERT_EQ(back.points.size(), 3u);
    EXPECT_EQ(back.points[2].position, 88199);
    EXPECT_NEAR(back.points[2].value, 0.997999, 1e-12);
}

TEST(PvcText, ReadsLfCommaAndBlankLinesWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // where present: a comma locale
    SpeedCurve c;
    std::string error;
    ASSERT_TRUE(parse("0 1.0\n\n12 0,998\r\n20   1.5e0  \n", c, error)) << error;
    ASSERT_EQ(c.points.size(), 3u);
    EXPECT_DOUBLE_EQ(c.points[1].value, 0.998);
    EXPECT_DOUBLE_EQ(c.points[2].value, 1.5);
    EXPECT_EQ(formatPvc(c).substr(0, 12), "0 1.000000\r\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(PvcText, RefusesBadLinesNamingFileAndLine) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0 1.0\n10 1.0\n5 1.0\n", "t.pvc:3: position 5 does not follow 10"},
        {"0 1.0\n0 1.0\n", "t.pvc:2: position 0 does not follow 0"},
        {"0 1.0\n\n10 0\n", "t.pvc:3: value 0 is outside (0, 2]"},
        {"0 2.5\n", "t.pvc:1: value 2.5 is outside (0, 2]"},
        {"0 -1\n", "t.pvc:1: value -1 is outside"},
        {"0 1.0\nten 1.0\n", "t.pvc:2: position 'ten' is not a whole number"},
        {"0 1.0x\n", "t.pvc:1: value '1.0x' is not a number"},
        {"0 nan\n", "t.pvc:1: value 'nan' is not a number"},
        {"7\n", "t.pvc:1: expected 'position value'"},
        {"0 1.0 extra\n", "t.pvc:1: expected 'position value'"},
        {"-3 1.0\n", "t.pvc:1: position -3 is before"},
        {"\n\n", "t.pvc: no points"},
    };
    for (const auto& c : cases) {
        SpeedCurve curve;
        std::string error;
        EXPECT_FALSE(parse(c.text, curve, error)) << c.text;
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
    }
    SpeedCurve curve;
    std::string error;
    EXPECT_FALSE(readPvcFile(std::string(std::getenv("WOWFIX_TEMP")) + "/no-such.pvc", curve, error));
    EXPECT_NE(error.find("no-such.pvc"), std::string::npos);
}

TEST(CurveRate, ScalesPositionsAndRefusesAnotherLength) {
    SpeedCurve c;
    c.points = {{0, 1.0}, {22050, 1.01}, {44099, 0.99}};  // 1 s at 44.1 kHz
    SpeedCurve out;
    std::string error;
    ASSERT_TRUE(rescaleCurve(c, 44100, 96000, 96000, kLengthToleranceSeconds, out, error)) << error;
    ASSERT_EQ(out.points.size(), 4u);
    EXPECT_EQ(out.points[1].position, 48000);
    EXPECT_EQ(out.points[2].position, 95998);
    EXPECT_EQ(out.points[3].position, 95999);  // held to the file's last frame
    EXPECT_DOUBLE_EQ(out.points[1].value, 1.01);
    ASSERT_TRUE(rescaleCurve(c, 44100, 96000, 96001, kLengthToleranceSeconds, out, error));
    EXPECT_EQ(out.points.back().position, 96000);
    // Downwards, points that meet on one frame leave one.
    SpeedCurve dense;
    for (std::int64_t p = 0; p < 44100; ++p) dense.points.push_back({p, 1.0});
    ASSERT_TRUE(rescaleCurve(dense, 44100, 8000, 8000, kLengthToleranceSeconds, out, error));
    for (std::size_t i = 1; i < out.points.size(); ++i) ASSERT_LT(out.points[i - 1].position, out.points[i].position);
    EXPECT_EQ(out.points.back().position, 7999);
    EXPECT_FALSE(rescaleCurve(c, 44100, 96000, 2 * 96000, kLengthToleranceSeconds, out, error));
    EXPECT_NE(error.find("1.000 s at 44100 Hz but the audio lasts 2.000 s"), std::string::npos) << error;
}

}  // namespace
}  // namespace wowfix::curve
