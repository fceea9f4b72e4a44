// The command line of wowfix-gen: help, and clear refusals that leave no
// file behind and never touch an existing one.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/gen/GenCommand.h"

#include "GenTestSupport.h"

namespace wowfix::gentest {
namespace {

TEST(GenCommand, HelpDescribesTheOptions) {
    std::ostringstream out, err;
    EXPECT_EQ(gen::runGenCommand({"--help"}, out, err), 0);
    for (const char* word : {"--pvc", "--programme", "--wow", "--flutter", "--drift", "--pilot", "--hum",
                             "--test-tone", "--seed", "--format", "--rate", "--channels", "--seconds"})
        EXPECT_NE(out.str().find(word), std::string::npos) << word;
}

TEST(GenCommand, RefusalsNameTheProblemAndWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    ScratchFolder folder;
    const std::string wav = folder.file("out.wav"), pvc = folder.file("out.pvc");
    const std::vector<Case> cases = {
        {{"--pvc", pvc}, "no output file"},
        {{wav}, "no --pvc"},
        {{wav, "--pvc", pvc, "--speed", "2"}, "unknown option --speed"},
        {{wav, "--pvc", pvc, "--wow"}, "needs a value"},
        {{wav, "--pvc", pvc, "--wow", "0.3"}, "DEPTH@RATE"},
        {{wav, "--pvc", pvc, "--wow", "0.3@0"}, "wow rate"},
        {{wav, "--pvc", pvc, "--flutter", "-1@5"}, "flutter depth"},
        {{wav, "--pvc", pvc, "--wow", "30@1", "--flutter", "25@5"}, "below 50 %"},
        {{wav, "--pvc", pvc, "--channels", "3"}, "1 or 2"},
        {{wav, "--pvc", pvc, "--rate", "6000", "--test-tone", "-20"}, "Nyquist"},
        {{wav, "--pvc", pvc, "--programme", "sine:"}, "FREQUENCY"},
        {{wav, "--pvc", pvc, "--programme", "organ"}, "bad programme"},
        {{wav, "--pvc", pvc, "--programme", "file:" + folder.file("missing.wav")}, "cannot read"},
        {{wav, "--pvc", pvc, "--seconds", "0"}, "duration"},
        {{wav, "--pvc", pvc, "--pvc-step", "0"}, "--pvc-step"},
        {{wav, "--pvc", pvc, "--format", "mp7"}, "unknown format"},
        {{wav, "--pvc", wav}, "must differ"},
        {{wav, "--pvc", pvc, "--programme", "sine:1000@0,1500@0"}, "would clip"},
    };
    for (const Case& c : cases) {
        std::string errors;
        EXPECT_EQ(runGen(c.args, &errors), 1) << c.says;
        EXPECT_EQ(errors.rfind("wowfix-gen: ", 0), 0u) << errors;
        EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line: " << errors;
        EXPECT_TRUE(folder.names().empty()) << c.says;
    }
}

TEST(GenCommand, FailedRunLeavesExistingFilesAsTheyWere) {
    ScratchFolder folder;
    const std::string wav = folder.file("out.wav"), pvc = folder.file("out.pvc");
    std::ofstream(wav) << "old audio";
    std::ofstream(pvc) << "old curve";
    EXPECT_EQ(runGen({wav, "--pvc", pvc, "--programme", "sine:1000@0,1500@0"}), 1);
    EXPECT_EQ(readBytes(wav), "old audio");
    EXPECT_EQ(readBytes(pvc), "old curve");
    EXPECT_EQ(folder.names().size(), 2u);  // no temporary file left
    EXPECT_EQ(runGen({wav, "--pvc", pvc, "--seconds", "0.1"}), 0);
    EXPECT_NE(readBytes(wav), "old audio");
    EXPECT_EQ(folder.names().size(), 2u);
}

}  // namespace
}  // namespace wowfix::gentest
