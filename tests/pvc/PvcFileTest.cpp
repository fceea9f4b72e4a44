#include "pvc/PvcCurve.h"
#include "pvc/PvcLineFormat.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace wowfix {
namespace {

using test::readText;
using test::ScratchFolder;
using test::writeText;

// Loads `text` as a file into a curve of the given length.
bool loadText(PvcCurve& curve, const ScratchFolder& folder, const std::string& text, int length,
              bool thin = false)
{
    const std::string path = folder.file("in.pvc");
    writeText(path, text);
    curve.setLength(length);
    return curve.loadPvc(path, thin, false);
}

TEST(PvcLine, WritesSixDecimalsWithAPoint)
{
    std::string text;
    appendPvcLine(text, 44100, 1.0025);
    appendPvcLine(text, -7, 0.5);
    appendPvcLine(text, 2147483647, 1.0000004999);
    EXPECT_EQ(text, "44100 1.002500\r\n-7 0.500000\r\n2147483647 1.000000\r\n");
}

TEST(PvcLine, ParsesAndRejects)
{
    std::int32_t p = 0;
    float v = 0.0f;
    ASSERT_TRUE(parsePvcLine("12 0,998", p, v));
    EXPECT_EQ(p, 12);
    EXPECT_FLOAT_EQ(v, 0.998f);
    ASSERT_TRUE(parsePvcLine("+3   1.5e0 trailing words", p, v));
    EXPECT_EQ(p, 3);
    EXPECT_EQ(v, 1.5f);
    ASSERT_TRUE(parsePvcLine("-2147483648 3.5", p, v));
    EXPECT_EQ(p, -2147483648);
    EXPECT_TRUE(parsePvcLine("5 2.75", p, v));
    EXPECT_EQ(v, 2.75f);  // values above 2.0 stay

    for (const char* bad : {"5 -1", "5 0", "5 inf", "5 nan", "5 1e39", "5 1e-60", "5 abc", "5 ", " ", " 1.0",
                            "x5 1.0", "5x 1.0", "5.5 1.0", "51.0", "2147483648 1.0", "-2147483649 1.0",
                            "99999999999999999999999 1.0", "5 +-1"}) {
        p = 77;
        EXPECT_FALSE(parsePvcLine(bad, p, v)) << bad;
        EXPECT_EQ(p, 77) << bad;
    }
}

TEST(PvcFile, FlatCurveWritesTwoLines)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.initFlat(1000);
    const std::string path = folder.file("flat.pvc");
    ASSERT_TRUE(curve.savePvc(path, true));
    EXPECT_EQ(readText(path), "0 1.000000\r\n999 1.000000\r\n");
    EXPECT_EQ(curve.filePath(), "");
    ASSERT_TRUE(curve.savePvc(path, false));
    EXPECT_EQ(curve.filePath(), path);
}

TEST(PvcFile, SaveToAnEmptyOrUnwritablePathFails)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.initFlat(10);
    EXPECT_FALSE(curve.savePvc("", false));
    EXPECT_FALSE(curve.savePvc(folder.file("missing/dir/x.pvc"), false));
    EXPECT_EQ(curve.filePath(), "");
}

TEST(PvcFile, FailedSaveLeavesTheOldFileIntact)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.initFlat(10);
    const std::string target = folder.file("keep.pvc");
    writeText(target, "old contents\n");
    // The target is a directory name now: the rename cannot replace it.
    const std::string asDirectory = folder.file("dir.pvc");
    std::filesystem::create_directory(asDirectory);
    EXPECT_FALSE(curve.savePvc(asDirectory, false));
    EXPECT_TRUE(std::filesystem::is_directory(asDirectory));
    EXPECT_EQ(curve.filePath(), "");

    // No write permission in the folder: nothing is created, the old file stays.
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    // (Skipped when running as root, who may write there anyway.)
    std::FILE* probe = std::fopen(folder.file("probe").c_str(), "wb");
    const bool canStillWrite = probe != nullptr;
    if (probe != nullptr)
        std::fclose(probe);
    if (!canStillWrite) {
        EXPECT_FALSE(curve.savePvc(target, false));
    }
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(readText(target), "old contents\n");
    // Nothing but our two names is left behind.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        entries += entry.path().filename() != "probe";
    EXPECT_EQ(entries, 2);
}

TEST(PvcFile, RoundTripKeepsPositionsAndSixDecimals)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.initFlat(100000);
    for (int p = 1000; p < 99000; p += 1234)
        curve.insertPoint(p, 1.0f + 0.05f * std::sin(p * 0.001f), false);
    const std::string path = folder.file("round.pvc");
    ASSERT_TRUE(curve.savePvc(path, false));

    PvcCurve back;
    back.setLength(100000);
    ASSERT_TRUE(back.loadPvc(path, false, true));
    ASSERT_EQ(back.count(), curve.count());
    for (int i = 0; i < curve.count(); ++i) {
        EXPECT_EQ(back.positionAt(i), curve.positionAt(i));
        EXPECT_NEAR(back.valueAt(i), curve.valueAt(i), 5e-7f);
    }
    // A second round is byte for byte the same file.
    const std::string again = folder.file("again.pvc");
    ASSERT_TRUE(back.savePvc(again, true));
    EXPECT_EQ(readText(again), readText(path));
}

TEST(PvcFile, RoundTripBeyondTwoToTheTwentyFourSamples)
{
    ScratchFolder folder;
    const int length = (1 << 26) + 3;
    PvcCurve curve;
    curve.initFlat(length);
    curve.insertPoint((1 << 24) + 1, 1.25f, false);
    curve.insertPoint((1 << 24) + 2, 0.75f, false);
    const std::string path = folder.file("long.pvc");
    ASSERT_TRUE(curve.savePvc(path, true));
    EXPECT_NE(readText(path).find("16777217 1.250000\r\n16777218 0.750000\r\n"), std::string::npos);
    PvcCurve back;
    back.setLength(length);
    ASSERT_TRUE(back.loadPvc(path, false, true));
    ASSERT_EQ(back.count(), 4);
    EXPECT_EQ(back.valueAtPosition((1 << 24) + 1), 1.25f);
    EXPECT_EQ(back.valueAtPosition((1 << 24) + 2), 0.75f);
    EXPECT_EQ(back.valueAtPosition(length - 1), 1.0f);
}

TEST(PvcFile, CommaDecimalAndLfLineEnds)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1,0\n12 0,998\n20 1.5\r\n", 21));
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.positionAt(1), 12);
    EXPECT_FLOAT_EQ(curve.valueAt(1), 0.998f);
    EXPECT_EQ(curve.valueAt(2), 1.5f);
}

TEST(PvcFile, EndPointAddedWhenTheFileStopsShort)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1.0\r\n500 1.2\r\n", 1000));
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.positionAt(2), 999);
    EXPECT_EQ(curve.valueAt(2), 1.2f);
    EXPECT_EQ(curve.valueAtPosition(999), 1.2f);
}

TEST(PvcFile, StartPointAddedWhenTheFileStartsLate)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "100 1.02\r\n999 1.0\r\n", 1000));
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.positionAt(0), 0);
    EXPECT_EQ(curve.valueAt(0), 1.02f);
    // No ramp up from 0.0 before the file's first point.
    EXPECT_EQ(curve.valueAtPosition(0), 1.02f);
    EXPECT_EQ(curve.valueAtPosition(50), 1.02f);
}

TEST(PvcFile, ThinningKeepsTheLastPoint)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1.0\n10 1.0005\n20 1.0005\n", 21, true));
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.positionAt(0), 0);
    EXPECT_EQ(curve.valueAt(0), 1.0f);
    EXPECT_EQ(curve.positionAt(1), 20);
    EXPECT_EQ(curve.valueAt(1), 1.0005f);
}

TEST(PvcFile, ThinningDropsSmallStepsOnly)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1.0\n5 1.0009\n10 1.0011\n15 1.0015\n20 1.0\n", 21, true));
    ASSERT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.positionAt(1), 10);
    EXPECT_EQ(curve.positionAt(2), 20);
}

TEST(PvcFile, MissingFileAnswersFalseButNamesThePath)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.initFlat(100);
    const std::string path = folder.file("nothing-here.pvc");
    EXPECT_FALSE(curve.loadPvc(path, false, false));
    EXPECT_EQ(curve.count(), 0);
    EXPECT_EQ(curve.filePath(), path);

    PvcCurve kept;
    kept.setFilePath("before.pvc");
    EXPECT_FALSE(kept.loadPvc(path, false, true));
    EXPECT_EQ(kept.filePath(), "before.pvc");
    EXPECT_FALSE(kept.loadPvc("", false, true));
}

TEST(PvcFile, DirectoryReadsAsAFailure)
{
    ScratchFolder folder;
    PvcCurve curve;
    curve.setLength(10);
    EXPECT_FALSE(curve.loadPvc(folder.path().string(), false, true));
    EXPECT_EQ(curve.count(), 0);
}

TEST(PvcFile, InvalidLinesAreSkipped)
{
    ScratchFolder folder;
    PvcCurve curve;
    const std::string text =
        "0 1.0\r\n"
        "\r\n"
        " \r\n"
        "5 -1\r\n"
        "6 inf\r\n"
        "7 nan\r\n"
        "8 garbage\r\n"
        "nine 1.0\r\n"
        "10\r\n"
        "4294967296 1.0\r\n"
        "-99999999999 1.0\r\n"
        "11 0\r\n"
        "20 1.1 trailing\r\n"
        "\n";
    ASSERT_TRUE(loadText(curve, folder, text, 21));
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.positionAt(1), 20);
    EXPECT_EQ(curve.valueAt(1), 1.1f);
}

TEST(PvcFile, ValuesAboveTwoStay)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 3.5\n9 1.0\n", 10));
    EXPECT_EQ(curve.valueAt(0), 3.5f);
}

TEST(PvcFile, NothingValidAnswersFalse)
{
    ScratchFolder folder;
    PvcCurve curve;
    EXPECT_FALSE(loadText(curve, folder, "", 100));
    EXPECT_EQ(curve.count(), 0);
    EXPECT_FALSE(loadText(curve, folder, "\r\n\n \n5 -1\nhello\n", 100));
    EXPECT_EQ(curve.count(), 0);
}

TEST(PvcFile, BinaryGarbageAnswersFalse)
{
    ScratchFolder folder;
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        char c = static_cast<char>(state >> 24);
        // No line of the garbage can parse: keep digits out of it.
        if (c >= '0' && c <= '9')
            c = 'A';
        garbage.push_back(c);
    }
    garbage.append(std::string(5000, 'z'));  // one overlong line too
    PvcCurve curve;
    EXPECT_FALSE(loadText(curve, folder, garbage, 1000));
    EXPECT_EQ(curve.count(), 0);
}

TEST(PvcFile, OverlongLineIsSkippedAndTheRestReads)
{
    ScratchFolder folder;
    PvcCurve curve;
    const std::string text = "0 1.0\n" + std::string(3000, '7') + " 1.0\n" + "9 1.25\n";
    ASSERT_TRUE(loadText(curve, folder, text, 10));
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.valueAt(1), 1.25f);
}

TEST(PvcFile, LastLineWithoutLineEnd)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1.0\n9 1.25", 10));
    ASSERT_EQ(curve.count(), 2);
    EXPECT_EQ(curve.valueAt(1), 1.25f);
}

TEST(PvcFile, DuplicateAndDescendingPositionsStayInFileOrder)
{
    ScratchFolder folder;
    PvcCurve curve;
    ASSERT_TRUE(loadText(curve, folder, "0 1.0\n50 1.1\n50 1.2\n30 0.9\n99 1.0\n", 100));
    ASSERT_EQ(curve.count(), 5);
    EXPECT_EQ(curve.positionAt(3), 30);
    for (int p = 0; p < 100; ++p)
        EXPECT_TRUE(std::isfinite(curve.valueAtPosition(p)));
}

// Selects a locale whose decimal separator is a comma, building one with
// localedef into a private folder when none is installed. Answers the locale's
// name, or an empty text when none can be had.
std::string selectCommaLocale(const ScratchFolder& folder)
{
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr)
            return name;
    }
    const std::string localeDir = folder.file("locales");
    std::filesystem::create_directory(localeDir);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + localeDir + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(localeDir + "/de_DE.UTF-8"))
        return "";
#if defined(_WIN32)
    return "";
#else
    setenv("LOCPATH", localeDir.c_str(), 1);
    const char* selected = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    unsetenv("LOCPATH");
    return selected != nullptr ? "de_DE.UTF-8 (built with localedef)" : "";
#endif
}

TEST(PvcFile, CommaLocaleChangesNothing)
{
    ScratchFolder folder;
    const std::string locale = selectCommaLocale(folder);
    if (locale.empty())
        GTEST_SKIP() << "no locale with a decimal comma is installed and localedef could not build one";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    if (std::string(probe) != "1,5") {
        std::setlocale(LC_NUMERIC, "C");
        GTEST_SKIP() << "locale " << locale << " does not write a decimal comma";
    }

    PvcCurve curve;
    curve.initFlat(44101);
    curve.insertPoint(22050, 1.0025f, false);
    const std::string path = folder.file("comma.pvc");
    const bool saved = curve.savePvc(path, true);
    PvcCurve back;
    back.setLength(44101);
    const bool loaded = back.loadPvc(path, false, true);
    std::setlocale(LC_NUMERIC, "C");

    ASSERT_TRUE(saved);
    EXPECT_EQ(readText(path), "0 1.000000\r\n22050 1.002500\r\n44100 1.000000\r\n");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(back.count(), 3);
    EXPECT_EQ(back.valueAt(1), curve.valueAt(1));
}

}  // namespace
}  // namespace wowfix
