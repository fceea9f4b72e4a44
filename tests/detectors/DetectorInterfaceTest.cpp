// The tone tracker's parameter interface: names, labels, display values, the
// copying rule for caller buffers, and clamping of values from the host.

#include "detectors/BoundedText.h"
#include "detectors/ToneTracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using wowfix::copyBoundedText;
using wowfix::ToneTracker;

namespace {

// The editor's buffer: zero-filled, the usable part pre-filled with 1.
std::string copied(const ToneTracker& tracker, int index, bool label, int usable)
{
    char buffer[128];
    std::memset(buffer, 0, sizeof buffer);
    std::memset(buffer, 1, usable);
    EXPECT_TRUE(label ? tracker.getParameterLabel(index, buffer) : tracker.getParameterName(index, buffer));
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

TEST(TrackerParameters, NamesLabelsAndDefaults)
{
    ToneTracker tracker(44100.0f);
    ASSERT_EQ(tracker.getNumParams(), 6);
    const char* names[] = {"FFT Length", "Overlap", "Preemphasis", "Time smooth", "Freq smooth", "Bottom margin"};
    const char* labels[] = {"smpl", "%", "ratio", "order", "order", "%"};
    const float defaults[] = {0.18f, 1.0f, 0.5f, 0.1f, 0.3f, 0.68f};
    const float shown[] = {1024, 75, 3, 3, 3, 84};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(copied(tracker, i, false, 98), names[i]);
        EXPECT_EQ(copied(tracker, i, true, 18), labels[i]);
        EXPECT_EQ(tracker.getParameter(i), defaults[i]);
        EXPECT_FLOAT_EQ(tracker.getParameterDisplayValue(i), shown[i]) << names[i];
    }
}

TEST(TrackerParameters, DisplayValuesAtBothEndsOfEveryRange)
{
    ToneTracker tracker(44100.0f);
    const float atZero[] = {512, 0, 1, 1, 1, 50};
    const float atOne[] = {8192, 75, 5, 16, 8, 100};
    for (int i = 0; i < 6; ++i) {
        tracker.setParameter(i, 0.0f);
        EXPECT_FLOAT_EQ(tracker.getParameterDisplayValue(i), atZero[i]) << i;
        tracker.setParameter(i, 1.0f);
        EXPECT_FLOAT_EQ(tracker.getParameterDisplayValue(i), atOne[i]) << i;
    }
    // Every length in between is a power of two and reachable.
    for (int e = 9; e <= 13; ++e) {
        tracker.setParameter(0, (e - 9) / 4.0f);
        EXPECT_EQ(tracker.getParameterDisplayValue(0), static_cast<float>(1 << e));
    }
}

TEST(TrackerParameters, ValuesFromOutsideTheRangeAreClamped)
{
    ToneTracker tracker(44100.0f);
    EXPECT_TRUE(tracker.setParameter(0, 7.5f));
    EXPECT_EQ(tracker.getParameter(0), 1.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(0), 8192.0f);
    EXPECT_TRUE(tracker.setParameter(3, -3.0f));
    EXPECT_EQ(tracker.getParameter(3), 0.0f);
    EXPECT_TRUE(tracker.setParameter(4, std::numeric_limits<float>::infinity()));
    EXPECT_EQ(tracker.getParameterDisplayValue(4), 8.0f);
    // Not a number: ignored, the previous value stays.
    EXPECT_TRUE(tracker.setParameter(5, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(tracker.getParameter(5), 0.68f);
}

TEST(TrackerParameters, UnknownIndexesReadZeroAndChangeNothing)
{
    ToneTracker tracker(44100.0f);
    for (int index : {6, -1, 1000}) {
        EXPECT_TRUE(tracker.setParameter(index, 0.9f));
        EXPECT_EQ(tracker.getParameter(index), 0.0f);
        EXPECT_EQ(tracker.getParameterDisplayValue(index), 0.0f);
        // Nothing is copied: the pre-filled bytes stay.
        char buffer[8] = {1, 1, 1, 1, 1, 1, 1, 0};
        EXPECT_TRUE(tracker.getParameterName(index, buffer));
        EXPECT_EQ(buffer[0], 1);
        EXPECT_EQ(tracker.findParameter(""), -1);
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(tracker.getParameter(i), ToneTracker(44100.0f).getParameter(i));
}

TEST(BoundedText, CutsAtTheUsableLengthAndStaysTerminated)
{
    ToneTracker tracker(44100.0f);
    EXPECT_EQ(copied(tracker, 5, false, 6), "Bottom");
    EXPECT_EQ(copied(tracker, 5, false, 13), "Bottom margin");
    EXPECT_EQ(copied(tracker, 2, true, 3), "rat");
    EXPECT_EQ(copied(tracker, 0, false, 0), "");

    // The source ends first: terminated right after the text, the rest untouched.
    char buffer[8] = {1, 1, 1, 1, 1, 1, 1, 0};
    copyBoundedText("ab", buffer);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(buffer[3], 1);
    copyBoundedText(nullptr, buffer);
    copyBoundedText("x", nullptr);
    EXPECT_STREQ(buffer, "ab");
}

TEST(TrackerParameters, NamesAreFoundForTheCommandLine)
{
    ToneTracker tracker(44100.0f);
    EXPECT_EQ(tracker.findParameter("FFT Length"), 0);
    EXPECT_EQ(tracker.findParameter("fft-length"), 0);
    EXPECT_EQ(tracker.findParameter("FFTLENGTH"), 0);
    EXPECT_EQ(tracker.findParameter("bottom_margin"), 5);
    EXPECT_EQ(tracker.findParameter("Time smooth"), 3);
    EXPECT_EQ(tracker.findParameter("freq"), -1);
    EXPECT_EQ(tracker.findParameter("Overlapping"), -1);
    EXPECT_EQ(tracker.findParameter(nullptr), -1);
}

}  // namespace
