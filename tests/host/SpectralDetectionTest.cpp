// Task mode 7 and "Create PVC" of the spectral-domain detector, driven
// through the plug-in's AEffect record as a host and the editor's commands do.

#include "PluginHost.h"

#include "host/HeadlessEditor.h"
#include "host/VendorCommands.h"
#include "pvc/UndoSteps.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wowfix {
namespace {

using test::PluginHost;
constexpr int kRate = 44100;
constexpr int kFrames = 3 * kRate;

class SpectralTask : public ::testing::Test {
protected:
    // A stereo file whose tone glides from 1000 Hz to 1150 Hz; the left and
    // right channels alike, so that only their mix can be analysed.
    void SetUp() override {
        host.openFile(2, kFrames);
        double phase = 0.0;
        for (int i = 0; i < kFrames; ++i) {
            const float v = static_cast<float>(0.5 * std::cos(phase));
            host.audio.source[0][static_cast<size_t>(i)] = host.audio.source[1][static_cast<size_t>(i)] = v;
            phase += 2.0 * 3.14159265358979 * (1000.0 + 50.0 * i / kRate) / kRate;
        }
        host.notify();
        ASSERT_EQ(host.command(vendor::kRequestTask, nullptr, 1.0f), 1);
        host.notify();  // the spectrogram pass: rate, store and curve
        ASSERT_EQ(host.plugin().curve().length(), kFrames);
    }

    VstIntPtr markArea(int start, int end, float low = 500.0f, float high = 2000.0f) {
        vendor::ProcessingArea area{static_cast<std::int32_t>(sizeof(vendor::ProcessingArea)), start, end, low, high};
        return host.command(vendor::kSetProcessingArea, &area);
    }

    // Runs the preview; answers whether the task succeeded.
    bool preview() {
        const size_t before = host.starts.size();
        if (host.command(vendor::kRequestTask, nullptr, 7.0f) != 1) return false;
        host.notify();
        return host.starts.size() == before + 1 && host.starts.back().ran == 1;
    }

    PvcCurve& curve() { return host.plugin().curve(); }
    UndoHistory& history() { return host.plugin().headlessEditor().history(); }

    PluginHost host;
    test::ScratchFolder scratch;
};

TEST_F(SpectralTask, StereoPreviewReplacesOnlyTheAreaInOneUndoStep) {
    curve().insertPoint(1000, 1.02f, false);
    curve().insertPoint(kFrames - 1000, 0.98f, false);
    recordEdit(curve(), history(), 7);  // as the insert tool does
    const std::vector<PvcPoint> before = curve().points();
    const PvcCurve old = curve();
    const int position = history().position();

    const int start = kRate / 2, end = 2 * kRate;
    ASSERT_EQ(markArea(start, end), 1);
    ASSERT_TRUE(preview()) << host.message();

    EXPECT_FLOAT_EQ(curve().valueAtPosition(1000), 1.02f);
    EXPECT_FLOAT_EQ(curve().valueAtPosition(kFrames - 1000), 0.98f);
    // The glide shows inside: below the median early, above it late.
    EXPECT_LT(curve().valueAtPosition(start + kRate / 10), 0.99f);
    EXPECT_GT(curve().valueAtPosition(end - kRate / 10), 1.01f);
    // One point per analysed frame inside, the edges on their old values.
    int inside = 0;
    for (const PvcPoint& p : curve().points()) {
        EXPECT_TRUE(std::isfinite(p.value) && p.value > 0.0f);
        inside += p.position > start && p.position < end - 1;
    }
    EXPECT_EQ(inside, host.plugin().spectralDetector()->resultCount());
    EXPECT_FLOAT_EQ(curve().valueAtPosition(start), old.valueAtPosition(start));
    EXPECT_FLOAT_EQ(curve().valueAtPosition(end - 1), old.valueAtPosition(end - 1));
    for (int n : {0, 500, 20000, 2 * kRate + 10, kFrames - 1})
        EXPECT_FLOAT_EQ(curve().valueAtPosition(n), old.valueAtPosition(n)) << n;
    EXPECT_EQ(history().position(), position + 1);
    ASSERT_TRUE(undoStep(curve(), history()));
    ASSERT_EQ(curve().points().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(curve().points()[i].position, before[i].position);
        EXPECT_NEAR(curve().points()[i].value, before[i].value, 1e-5);
    }
}

TEST_F(SpectralTask, CreatePvcKeepsThePreviewsGridAndTakesTheConfidence) {
    EXPECT_EQ(host.command(vendor::kCreateSpectralPvc), 0);
    EXPECT_NE(host.message().find("Preview"), std::string::npos) << host.message();

    ASSERT_EQ(markArea(0, kFrames - 1), 1);
    ASSERT_TRUE(preview()) << host.message();
    const std::vector<PvcPoint> previewed = curve().points();
    // New framing after the preview: "Create PVC" still places the
    // preview's frames where they were.
    vendor::DetectorParameter parameter{static_cast<std::int32_t>(sizeof(vendor::DetectorParameter)),
                                        vendor::kSpectralAlgorithm, 1, 1, 0.0f, 0.0f, 0, {}, {}};
    ASSERT_EQ(host.command(vendor::kDetectorParameter, &parameter), 1);
    const int position = history().position();
    ASSERT_EQ(host.command(vendor::kCreateSpectralPvc), 1) << host.message();
    ASSERT_EQ(curve().points().size(), previewed.size());
    for (size_t i = 0; i < previewed.size(); ++i) EXPECT_EQ(curve().points()[i].position, previewed[i].position);
    EXPECT_EQ(history().position(), position + 1);
    EXPECT_EQ(history().kindAt(position), 2);
}

TEST_F(SpectralTask, UnusableAreasAreRefusedAndTheCurveStays) {
    EXPECT_EQ(markArea(5000, 5000), 0);  // a click marks nothing
    EXPECT_FALSE(preview());
    EXPECT_EQ(host.message(), "Najpierw zaznacz obszar przetwarzania");

    const std::vector<PvcPoint> before = curve().points();
    ASSERT_EQ(markArea(5000, 5100), 1);  // shorter than one frame
    EXPECT_FALSE(preview());
    EXPECT_NE(host.message().find("shorter than one analysis frame"), std::string::npos) << host.message();
    ASSERT_EQ(markArea(kRate, 2 * kRate, 5000.0f, 6000.0f), 1);  // a band without partials
    EXPECT_FALSE(preview());
    EXPECT_NE(host.message().find("No partial"), std::string::npos) << host.message();
    ASSERT_EQ(markArea(kRate, 2 * kRate, 30000.0f, 40000.0f), 1);  // above half the rate
    EXPECT_FALSE(preview());
    EXPECT_EQ(curve().points().size(), before.size());
}

}  // namespace
}  // namespace wowfix
