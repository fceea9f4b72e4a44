// The command lines of detect and auto.

#include "hostsim/cli/CommandLine.h"

#include <gtest/gtest.h>

using namespace wowfix::hostsim;

namespace {

std::string refusal(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_FALSE(parseCommandLine(args, command, error)) << "accepted";
    return error;
}

}  // namespace

TEST(DetectCommandLine, ParametersMayBeRepeatedInEitherSpelling) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parseCommandLine({"detect", "in.wav", "--algorithm", "pilot", "--pvc", "out.pvc", "--param",
                                  "fft-length=2048", "--param=overlap=37.5", "--block", "512", "--quiet"},
                                 command, error))
        << error;
    EXPECT_EQ(command.kind, CommandKind::Detect);
    const DetectOptions& options = command.detect;
    EXPECT_EQ(options.input, "in.wav");
    EXPECT_EQ(options.pvc, "out.pvc");
    EXPECT_EQ(options.algorithm, "pilot");
    ASSERT_EQ(options.params.size(), 2u);
    EXPECT_EQ(options.params[0].name, "fft-length");
    EXPECT_DOUBLE_EQ(options.params[0].value, 2048.0);
    EXPECT_EQ(options.params[1].name, "overlap");
    EXPECT_DOUBLE_EQ(options.params[1].value, 37.5);
    EXPECT_EQ(options.blockSize, 512);
    EXPECT_TRUE(options.quiet);
    EXPECT_FALSE(options.listParams);
}

TEST(DetectCommandLine, ListingNeedsNoFileAndWritesNoCurve) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parseCommandLine({"detect", "--algorithm", "pilot", "--list-params"}, command, error)) << error;
    EXPECT_TRUE(command.detect.listParams);
    EXPECT_TRUE(command.detect.input.empty());
    ASSERT_TRUE(parseCommandLine({"detect", "in.wav", "--algorithm", "pilot", "--list-params"}, command, error));
    EXPECT_EQ(command.detect.input, "in.wav");
    EXPECT_NE(refusal({"detect", "in.wav", "--algorithm", "pilot", "--list-params", "--pvc", "x.pvc"}).find("--pvc"),
              std::string::npos);
}

TEST(DetectCommandLine, RefusesWhatCannotRun) {
    EXPECT_NE(refusal({"detect", "in.wav", "--pvc", "o.pvc"}).find("--algorithm"), std::string::npos);
    const std::string unknown = refusal({"detect", "in.wav", "--algorithm", "centroid", "--pvc", "o.pvc"});
    EXPECT_NE(unknown.find("unknown algorithm 'centroid'"), std::string::npos) << unknown;
    EXPECT_NE(unknown.find("pilot"), std::string::npos) << "the known ones are named";
    EXPECT_NE(refusal({"detect", "in.wav", "--algorithm", "pilot"}).find("--pvc"), std::string::npos);
    EXPECT_NE(refusal({"detect", "--algorithm", "pilot", "--pvc", "o.pvc"}).find("missing"), std::string::npos);
    EXPECT_NE(refusal({"detect", "a.wav", "b.wav", "--algorithm", "pilot", "--pvc", "o.pvc"}).find("unexpected"),
              std::string::npos);
    for (const char* bad : {"fft-length", "=2048", "fft-length=", "fft-length=big", "fft-length=inf"})
        EXPECT_NE(refusal({"detect", "in.wav", "--algorithm", "pilot", "--pvc", "o.pvc", "--param", bad})
                      .find("bad parameter"),
                  std::string::npos)
            << bad;
    EXPECT_NE(refusal({"detect", "in.wav", "--algorithm", "pilot", "--pvc", "o.pvc", "--block", "0"}).find("block"),
              std::string::npos);
}

TEST(AutoCommandLine, TakesTheDetectionAndTheCorrectionOptions) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parseCommandLine({"auto", "in.wav", "out.flac", "--algorithm", "pilot", "--pvc-out", "c.pvc",
                                  "--png", "s.png", "--format", "flac", "--param", "time-smooth=4"},
                                 command, error))
        << error;
    EXPECT_EQ(command.kind, CommandKind::Auto);
    const AutoOptions& options = command.autoRun;
    EXPECT_EQ(options.input, "in.wav");
    EXPECT_EQ(options.output, "out.flac");
    EXPECT_EQ(options.pvcOut, "c.pvc");
    EXPECT_EQ(options.png, "s.png");
    EXPECT_EQ(options.format, "flac");
    ASSERT_EQ(options.params.size(), 1u);
    EXPECT_EQ(options.params[0].name, "time-smooth");
    EXPECT_FALSE(options.quiet);
}

TEST(AutoCommandLine, RefusesWhatCannotRun) {
    EXPECT_NE(refusal({"auto", "in.wav", "--algorithm", "pilot"}).find("missing"), std::string::npos);
    EXPECT_NE(refusal({"auto", "in.wav", "out.wav"}).find("--algorithm"), std::string::npos);
    EXPECT_NE(refusal({"auto", "in.wav", "out.wav", "--algorithm", "pilot", "--pvc-out="}).find("--pvc-out"),
              std::string::npos);
    EXPECT_NE(refusal({"auto", "in.wav", "out.wav", "--algorithm", "pilot", "--format="}).find("format"),
              std::string::npos);
    EXPECT_NE(refusal({"auto", "in.wav", "out.wav", "--algorithm", "pilot", "--list-params"}).find("unknown option"),
              std::string::npos);
    EXPECT_NE(refusal({"auto", "in.wav", "out.wav", "--algorithm", "pilot", "--png", "a", "--png", "b"})
                  .find("twice"),
              std::string::npos);
}

TEST(MeasureAndDemoCommandLine, MeasureHandsItsWordsToTheMeterAndDemoTakesNoFiles) {
    CommandLine command;
    std::string error;
    ASSERT_TRUE(parseCommandLine({"measure", "in.wav", "--tone", "auto", "--plot", "p.png"}, command, error));
    EXPECT_EQ(command.kind, CommandKind::Measure);
    EXPECT_EQ(command.measure.args, (std::vector<std::string>{"in.wav", "--tone", "auto", "--plot", "p.png"}));
    ASSERT_TRUE(parseCommandLine({"demo", "--quiet", "--plugin", "lib.so"}, command, error)) << error;
    EXPECT_EQ(command.kind, CommandKind::Demo);
    EXPECT_TRUE(command.demo.quiet);
    EXPECT_EQ(command.demo.plugin, "lib.so");
    EXPECT_NE(refusal({"demo", "in.wav"}).find("unexpected"), std::string::npos);
}
