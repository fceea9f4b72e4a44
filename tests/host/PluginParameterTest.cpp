#include "PluginHost.h"

#include "host/TaskMode.h"
#include "sdk/Float2String.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace wowfix {
namespace {

class PluginParameter : public ::testing::Test {
protected:
    std::string text(VstInt32 opcode, VstInt32 index) {
        char buffer[64] = "untouched";
        host.dispatch(opcode, index, 0, buffer);
        return buffer;
    }
    test::PluginHost host;
};

TEST_F(PluginParameter, TheOneParameterIsTheTaskModeNamedType) {
    EXPECT_EQ(host.mode(), 1.0f);
    EXPECT_EQ(text(effGetParamName, 0), "Type");
    EXPECT_EQ(text(effGetParamLabel, 0), " Type ");
    host.setMode(8.0f);
    char expected[16];
    float2string(8.0f, expected, kVstMaxParamStrLen);
    EXPECT_EQ(text(effGetParamDisplay, 0), expected);
    EXPECT_EQ(text(effGetParamDisplay, 0), "8.000000");
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) EXPECT_EQ(text(opcode, 1), "untouched");
    // Whatever the index, a value sets the mode; only index 0 reads it.
    host.effect->setParameter(host.effect, 5, 3.0f);
    EXPECT_EQ(host.mode(), 3.0f);
    EXPECT_EQ(host.effect->getParameter(host.effect, 1), 0.0f);
}

TEST_F(PluginParameter, AnswersOnlyItsOwnCapabilities) {
    const auto canDo = [&](const char* what) { return host.dispatch(effCanDo, 0, 0, const_cast<char*>(what)); };
    EXPECT_EQ(canDo("offline"), 1);
    EXPECT_EQ(canDo("noRealTime"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 0);
    EXPECT_EQ(canDo(""), 0);
}

TEST_F(PluginParameter, TheOnlyProgramStaysWhateverTheHostSelects) {
    host.setMode(4.0f);
    for (VstIntPtr program : {1, -1}) {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_EQ(host.dispatch(effGetProgram), 0);
        EXPECT_EQ(text(effGetProgramName, 0), "Init");
        EXPECT_EQ(host.mode(), 4.0f);
    }
}

TEST_F(PluginParameter, LongProgramNameKeepsTwentyThreeCharacters) {
    const std::string longName(100, 'n');
    host.dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    host.dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), std::string(23, 'n'));
    EXPECT_EQ(buffer[24], 'x');  // the host's 24 bytes and not one more
}

TEST(TaskModeNumber, TruncatesAndRejectsWhatNoModeIs) {
    EXPECT_EQ(taskModeOf(2.7f), kCorrection);
    EXPECT_EQ(taskModeOf(9.99f), kSetSelection);
    for (float bad : {std::nanf(""), 1e30f, -1e30f, -0.5f, 10.0f, INFINITY}) EXPECT_EQ(taskModeOf(bad), kNoTask) << bad;
}

}  // namespace
}  // namespace wowfix
