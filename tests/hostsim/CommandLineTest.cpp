#include "hostsim/cli/Arguments.h"
#include "hostsim/cli/CommandLine.h"

#include <gtest/gtest.h>

using namespace wowfix::hostsim;

namespace {

bool parse(const std::vector<std::string>& args, CommandLine& command, std::string& error) {
    return parseCommandLine(args, command, error);
}

std::string refusal(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_FALSE(parse(args, command, error)) << "accepted";
    return error;
}

}  // namespace

TEST(ValueReaders, WholeNumbersAreDigitsOnly) {
    long long value = 0;
    EXPECT_TRUE(parseWholeNumber("0", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(parseWholeNumber("441000", value));
    EXPECT_EQ(value, 441000);
    for (const char* bad : {"", "-1", "+1", "1.5", "12a", " 1", "1e3", "0x10", "9999999999999999999"})
        EXPECT_FALSE(parseWholeNumber(bad, value)) << bad;
}

TEST(ValueReaders, NumbersRefuseTextAndNonFiniteValues) {
    double value = 0.0;
    EXPECT_TRUE(parseNumber("-3.5", value));
    EXPECT_DOUBLE_EQ(value, -3.5);
    EXPECT_TRUE(parseNumber("1e2", value));
    EXPECT_DOUBLE_EQ(value, 100.0);
    for (const char* bad : {"", "abc", "1,5", "inf", "nan", "0x10", "1e999", "2 "})
        EXPECT_FALSE(parseNumber(bad, value)) << bad;
}

TEST(ValueReaders, FrameRangeNeedsEndAfterStart) {
    long long start = 0;
    long long end = 0;
    std::string error;
    EXPECT_TRUE(parseFrameRange("100:200", start, end, error));
    EXPECT_EQ(start, 100);
    EXPECT_EQ(end, 200);
    EXPECT_FALSE(parseFrameRange("200:200", start, end, error));
    EXPECT_NE(error.find("greater"), std::string::npos);
    EXPECT_FALSE(parseFrameRange("300:200", start, end, error));
    EXPECT_FALSE(parseFrameRange("a:b", start, end, error));
    EXPECT_NE(error.find("whole numbers"), std::string::npos);
    EXPECT_FALSE(parseFrameRange("100", start, end, error));
    EXPECT_FALSE(parseFrameRange("1:2:3", start, end, error));
    EXPECT_FALSE(parseFrameRange("-5:10", start, end, error));
}

TEST(ValueReaders, LevelsAndSize) {
    double low = 0.0;
    double high = 0.0;
    std::string error;
    EXPECT_TRUE(parseNumberRange("12:105.5", low, high, error));
    EXPECT_DOUBLE_EQ(low, 12.0);
    EXPECT_DOUBLE_EQ(high, 105.5);
    EXPECT_FALSE(parseNumberRange("50:50", low, high, error));
    EXPECT_FALSE(parseNumberRange("x:50", low, high, error));
    long long width = 0;
    long long height = 0;
    EXPECT_TRUE(parseSize("640x480", width, height, error));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_FALSE(parseSize("640*480", width, height, error));
    EXPECT_FALSE(parseSize("640x", width, height, error));
}

TEST(CorrectCommandLine, TakesEveryOptionInBothSpellings) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parse({"correct", "in.wav", "out.aiff", "--pvc", "c.pvc", "--block=7", "--selection", "10:20",
                       "--format", "aiff", "--quiet", "--plugin=/x/p.so"},
                      command, error))
        << error;
    ASSERT_EQ(command.kind, CommandKind::Correct);
    const CorrectOptions& o = command.correct;
    EXPECT_EQ(o.input, "in.wav");
    EXPECT_EQ(o.output, "out.aiff");
    EXPECT_EQ(o.pvc, "c.pvc");
    EXPECT_EQ(o.blockSize, 7);
    EXPECT_TRUE(o.hasSelection);
    EXPECT_EQ(o.selectionStart, 10);
    EXPECT_EQ(o.selectionEnd, 20);
    EXPECT_EQ(o.format, "aiff");
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.plugin, "/x/p.so");
}

TEST(CorrectCommandLine, RefusesWhatCannotBeRun) {
    EXPECT_NE(refusal({"correct", "in.wav", "out.wav"}).find("--pvc"), std::string::npos);
    EXPECT_NE(refusal({"correct", "in.wav", "--pvc", "c.pvc"}).find("missing"), std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "c", "--pvc", "c.pvc"}).find("unexpected"), std::string::npos);
    for (const char* block : {"0", "-1", "abc", "1.5", ""})
        EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--block", block}).find("block"), std::string::npos)
            << block;
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--selection", "20:10"}).find("bad selection"),
              std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--selection", "x:y"}).find("bad selection"),
              std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--speed", "2"}).find("unknown option"), std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--block"}).find("needs a value"), std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--pvc", "d"}).find("twice"), std::string::npos);
    EXPECT_NE(refusal({"correct", "a", "b", "--pvc", "c", "--quiet=yes"}).find("no value"), std::string::npos);
}

TEST(SpectrogramCommandLine, DefaultsAndChecks) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parse({"spectrogram", "in.wav", "out.png"}, command, error)) << error;
    EXPECT_EQ(command.kind, CommandKind::Spectrogram);
    EXPECT_FALSE(command.spectrogram.hasRange);
    EXPECT_FALSE(command.spectrogram.hasLevels);

    ASSERT_TRUE(parse({"spectrogram", "in.wav", "out.png", "--fft", "2048", "--window", "hann", "--range", "5:900",
                       "--levels", "10:90", "--size", "100x50"},
                      command, error))
        << error;
    const SpectrogramOptions& o = command.spectrogram;
    EXPECT_EQ(o.fftLength, 2048);
    EXPECT_EQ(o.windowIndex, 1);
    EXPECT_TRUE(o.hasRange);
    EXPECT_EQ(o.rangeStart, 5);
    EXPECT_EQ(o.rangeEnd, 900);
    EXPECT_DOUBLE_EQ(o.lowDb, 10.0);
    EXPECT_DOUBLE_EQ(o.highDb, 90.0);
    EXPECT_EQ(o.width, 100);
    EXPECT_EQ(o.height, 50);

    for (const char* fft : {"1000", "8", "16384", "x"})
        EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--fft", fft}).find("transform length"), std::string::npos);
    EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--window", "kaiser"}).find("window"), std::string::npos);
    EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--size", "1x10"}).find("size"), std::string::npos);
    EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--size", "10x0"}).find("size"), std::string::npos);
    EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--levels", "-5:10"}).find("levels"), std::string::npos);
    EXPECT_NE(refusal({"spectrogram", "a", "b.png", "--range", "9:3"}).find("range"), std::string::npos);
}

TEST(CommandLineWords, HelpInfoAndUnknownCommands) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parse({"--help"}, command, error));
    EXPECT_EQ(command.kind, CommandKind::Help);
    ASSERT_TRUE(parse({"correct", "--help"}, command, error));
    EXPECT_EQ(command.kind, CommandKind::Help);
    ASSERT_TRUE(parse({"info", "--plugin", "p.so"}, command, error));
    EXPECT_EQ(command.kind, CommandKind::Info);
    EXPECT_EQ(command.info.plugin, "p.so");
    EXPECT_NE(refusal({}).find("no command"), std::string::npos);
    EXPECT_NE(refusal({"convert", "a", "b"}).find("unknown command"), std::string::npos);
    EXPECT_NE(refusal({"info", "extra"}).find("unexpected"), std::string::npos);
}

TEST(CommandLineWords, DoubleDashEndsOptions) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parse({"correct", "--pvc", "c.pvc", "--", "--in.wav", "out.wav"}, command, error)) << error;
    EXPECT_EQ(command.correct.input, "--in.wav");
}
