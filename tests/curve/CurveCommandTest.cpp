#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/Usage.h"
#include "tools/gen/GenerateFiles.h"

namespace wowfix::hostsim {
namespace {

namespace fs = std::filesystem;

class CurveCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(std::getenv("WOWFIX_TEMP")) / "curve-command";
        fs::create_directories(folder_);
        write("good.pvc", "0 1.0\n22050 1.01\n44099 0.99\n");
        write("late.pvc", "88200 1.0\n99999 1.0\n");
        write("descending.pvc", "0 1.0\n500 1.0\n400 1.0\n");
        write("keep.pvc", "0 1.234567\r\n");
    }
    void write(const std::string& name, const std::string& text) { std::ofstream(path(name)) << text; }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int run(std::vector<std::string> args) {
        args.insert(args.begin(), "curve");
        std::ostringstream out, err;
        const int status = runCommandLine(args, out, err);
        message_ = err.str();
        return status;
    }

    fs::path folder_;
    std::string message_;
};

TEST_F(CurveCommand, BadInputGivesOneLineAndLeavesTheOutputAlone) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* expected;
    } cases[] = {
        {{"band", path("good.pvc"), path("keep.pvc"), "--wow", "slow"}, kExitUsage, "--rate HZ or --audio FILE"},
        {{"band", path("good.pvc"), path("keep.pvc"), "--wow", "quick", "--rate", "44100"}, kExitUsage, "bad --wow"},
        {{"band", path("good.pvc"), path("keep.pvc"), "--keep", "3:1", "--rate", "44100"}, kExitUsage, "bad --keep"},
        {{"band", path("good.pvc"), path("keep.pvc"), "--flutter", "--wow", "slow", "--rate", "1"}, kExitUsage, "one of"},
        {{"centre", path("descending.pvc"), path("keep.pvc"), "--mean"}, kExitFailure, "descending.pvc:3: position 400"},
        {{"centre", path("good.pvc"), path("keep.pvc"), "--pitch", "A4=440"}, kExitUsage, "--from INPUT"},
        {{"cyclic", path("good.pvc"), path("keep.pvc"), "--rate", "44100"}, kExitUsage, "--rpm RPM, --period"},
        {{"cyclic", path("good.pvc"), path("keep.pvc"), "--rpm", "45", "--use", "2", "--rate", "44100"}, kExitUsage,
         "bad --use '2'"},
        {{"join", path("good.pvc"), path("late.pvc"), path("keep.pvc")}, kExitFailure, "late.pvc:1: starts at 88200"},
        {{"join", path("good.pvc"), path("keep.pvc")}, kExitUsage, "missing arguments"},
        {{"rate", path("good.pvc"), path("keep.pvc"), "--curve-rate", "44100"}, kExitUsage, "--audio TARGET"},
        {{"plot", path("missing.pvc"), path("keep.png"), "--rate", "44100"}, kExitFailure, "missing.pvc: cannot open"},
        {{"smooth", path("good.pvc"), path("keep.pvc")}, kExitUsage, "unknown curve step 'smooth'"},
        {{"centre", path("good.pvc"), path("keep.pvc"), "--mean", "--wow", "slow"}, kExitUsage, "unknown option"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.args[0] << " " << message_;
        EXPECT_NE(message_.find(c.expected), std::string::npos) << message_;
        EXPECT_EQ(message_.find('\n'), message_.size() - 1) << message_;
        EXPECT_EQ(read("keep.pvc"), "0 1.234567\r\n");
    }
}

TEST_F(CurveCommand, RateAgainstAudioAndPlot) {
    gen::GeneratorSettings s;
    s.sampleRate = 96000;
    s.channels = 1;
    s.seconds = 1.0;
    s.programme.kind = gen::ProgrammeKind::Silence;
    gen::GenerationSummary summary;
    std::string error;
    ASSERT_TRUE(gen::generateFiles(s, {path("t96.wav"), path("t96-true.pvc"), ""}, summary, error)) << error;
    ASSERT_EQ(run({"rate", path("good.pvc"), path("scaled.pvc"), "--curve-rate", "44100", "--audio", path("t96.wav")}),
              kExitSuccess)
        << message_;
    EXPECT_EQ(read("scaled.pvc"), "0 1.000000\r\n48000 1.010000\r\n95998 0.990000\r\n95999 0.990000\r\n");
    EXPECT_EQ(run({"rate", path("good.pvc"), path("keep.pvc"), "--curve-rate", "22050", "--audio", path("t96.wav")}),
              kExitFailure);
    EXPECT_NE(message_.find("the curve lasts 2.000 s at 22050 Hz but the audio lasts 1.000 s"), std::string::npos);
    ASSERT_EQ(run({"plot", path("scaled.pvc"), path("plot.png"), "--true", path("good.pvc"), "--audio", path("t96.wav")}),
              kExitSuccess)
        << message_;
    EXPECT_EQ(read("plot.png").substr(1, 3), "PNG");
}

}  // namespace
}  // namespace wowfix::hostsim
