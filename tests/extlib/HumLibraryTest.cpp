#include "extlib/include/PvcPluginContract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" void* createPlugin(float sampleRate);

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kRate = 48000.0f;

// A 50 Hz hum of amplitude 0.1 whose frequency swings by `depth` (relative)
// at `rateHz`: the true speed ratio at time t is 1 + depth sin(2π rateHz t).
std::vector<float> modulatedHum(double seconds, double depth, double rateHz) {
    std::vector<float> x(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double phase = 2.0 * kPi * 50.0 * t;
        if (depth > 0.0) phase -= 50.0 * depth / rateHz * std::cos(2.0 * kPi * rateHz * t);
        x[i] = static_cast<float>(0.1 * std::sin(phase));
    }
    return x;
}

double trueRatio(double t, double depth, double rateHz) { return 1.0 + depth * std::sin(2.0 * kPi * rateHz * t); }

class HumLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        instance = createPlugin(kRate);
        ASSERT_NE(instance, nullptr);
        // The values the plug-in gives a first instance.
        plugin_setParamValue(instance, 2, 0.75f);
        plugin_setParamValue(instance, 3, 0.225f);
        plugin_setParamValue(instance, 4, 0.275f);
        plugin_setParamValue(instance, 10, 0.257f);
    }
    void TearDown() override { plugin_destroy(instance); }

    // Ratios after every frame, in blocks of 8192 as the plug-in hands them over.
    std::vector<float> ratios(std::vector<float> input) {
        std::vector<float> out(input.size(), -1.0f);
        for (size_t at = 0; at < input.size(); at += 8192) {
            const int n = static_cast<int>(std::min<size_t>(8192, input.size() - at));
            float* inputs[1] = {input.data() + at};
            float* outputs[1] = {out.data() + at};
            EXPECT_TRUE(plugin_processPVC(instance, n, 1, inputs, outputs));
        }
        return out;
    }

    void* instance = nullptr;
};

TEST_F(HumLibrary, PluginDefaultsMakeA50HzTracker) {
    ASSERT_EQ(plugin_getNumParams(instance), 12);
    EXPECT_FLOAT_EQ(plugin_getParamValueDisp(instance, 2), 750.0f);
    EXPECT_NEAR(plugin_getParamValueDisp(instance, 3), 45.0f, 1e-3);
    EXPECT_NEAR(plugin_getParamValueDisp(instance, 4), 55.0f, 1e-3);
    EXPECT_FLOAT_EQ(plugin_getParamValueDisp(instance, 10), 50.0f);
    const int delay = plugin_getDelay(instance);
    EXPECT_GT(delay, 0);
    EXPECT_LT(delay, static_cast<int>(kRate));  // under a second

    // Out-of-range and non-numbers: clamped or ignored, never stored raw.
    plugin_setParamValue(instance, 11, 7.0f);
    EXPECT_FLOAT_EQ(plugin_getParamValue(instance, 11), 1.0f);
    plugin_setParamValue(instance, 11, std::nanf(""));
    EXPECT_FLOAT_EQ(plugin_getParamValue(instance, 11), 1.0f);
    EXPECT_FLOAT_EQ(plugin_getParamValue(instance, 99), 0.0f);
}

TEST_F(HumLibrary, NamesAndLabelsStayInsideTheirBuffers) {
    for (int index = -1; index <= plugin_getNumParams(instance); ++index) {
        for (size_t capacity : {size_t{kPvcNameCapacity}, size_t{kPvcLabelCapacity}}) {
            const bool isName = capacity == size_t{kPvcNameCapacity};
            std::array<char, kPvcNameCapacity + 8> buffer{};
            for (size_t i = 0; i < capacity; ++i) buffer[i] = '\1';
            if (isName) {
                plugin_getParamName(instance, index, buffer.data());
            } else {
                plugin_getParamLabel(instance, index, buffer.data());
            }
            for (size_t i = capacity; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '\0');
            const bool valid = index >= 0 && index < plugin_getNumParams(instance);
            if (valid) {
                const size_t length = strnlen(buffer.data(), capacity);
                EXPECT_LT(length, capacity) << "index " << index;
                if (isName) {
                    EXPECT_GT(length, 0u) << "index " << index;
                }
            }
        }
    }
}

TEST_F(HumLibrary, SteadyHumReadsOne) {
    const std::vector<float> r = ratios(modulatedHum(6.0, 0.0, 1.0));
    const size_t from = static_cast<size_t>(3.0 * kRate);
    for (size_t i = from; i < r.size(); i += 64) ASSERT_NEAR(r[i], 1.0, 2e-5) << "frame " << i;
}

TEST_F(HumLibrary, RatioFollowsSinusoidalModulationAfterTheDelay) {
    const double depth = 0.003, rateHz = 0.5;
    const std::vector<float> r = ratios(modulatedHum(12.0, depth, rateHz));
    const int delay = plugin_getDelay(instance);
    double worst = 0.0;
    for (size_t i = static_cast<size_t>(3.0 * kRate); i < r.size(); i += 64) {
        ASSERT_GT(r[i], 0.0f) << "no estimate at frame " << i;
        const double t = (static_cast<double>(i) - delay) / kRate;
        worst = std::max(worst, std::fabs(r[i] - trueRatio(t, depth, rateHz)));
    }
    std::printf("worst ratio error %.3g\n", worst);
    // Measured about 8e-6 (0.3 % of the swing); allow six times that.
    EXPECT_LT(worst, 5e-5);
}

TEST_F(HumLibrary, NoHumMeansNoEstimate) {
    const std::vector<float> r = ratios(std::vector<float>(static_cast<size_t>(2.0 * kRate), 0.0f));
    for (float v : r) ASSERT_EQ(v, 0.0f);
}

TEST(HumLibraryEntries, RefuseBadArguments) {
    EXPECT_EQ(createPlugin(0.0f), nullptr);
    EXPECT_EQ(createPlugin(std::nanf("")), nullptr);
    EXPECT_EQ(plugin_getNumParams(nullptr), 0);
    EXPECT_FALSE(plugin_processPVC(nullptr, 10, 1, nullptr, nullptr));
    void* instance = createPlugin(kRate);
    ASSERT_NE(instance, nullptr);
    float* none[1] = {nullptr};
    EXPECT_FALSE(plugin_processPVC(instance, 10, 1, none, none));
    plugin_destroy(instance);
    plugin_destroy(nullptr);
}

}  // namespace
