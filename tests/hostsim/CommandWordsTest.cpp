// The options of the commands that read their own words (screenshot, script).

#include "hostsim/cli/CommandWords.h"

#include <gtest/gtest.h>

using wowfix::hostsim::readCommandWords;

namespace {

struct Words {
    std::string after;
    std::string plugin;
    bool panel = false;
    bool quiet = false;
    std::vector<std::string> positional;
    std::string error;

    bool read(const std::vector<std::string>& args) {
        return readCommandWords(args, {{"--after", &after}, {"--plugin", &plugin}},
                                {{"--panel", &panel}, {"--quiet", &quiet}}, 2, "usage: IN OUT", positional, error);
    }
};

}  // namespace

TEST(CommandWords, OptionsGoAnywhereAndThePositionalWordsKeepTheirOrder) {
    Words words;
    ASSERT_TRUE(words.read({"--quiet", "in.wav", "--after", "click 30", "out.png", "--panel", "--plugin", "p.so"}))
        << words.error;
    EXPECT_EQ(words.positional, (std::vector<std::string>{"in.wav", "out.png"}));
    EXPECT_EQ(words.after, "click 30");
    EXPECT_EQ(words.plugin, "p.so");
    EXPECT_TRUE(words.panel);
    EXPECT_TRUE(words.quiet);
}

TEST(CommandWords, AValueIsTheNextWordAsItStandsAndTheLastOneCounts) {
    Words words;
    ASSERT_TRUE(words.read({"in.wav", "out.png", "--after", "--panel", "--after", "key 13"})) << words.error;
    EXPECT_EQ(words.after, "key 13");
    EXPECT_FALSE(words.panel) << "the word after --after was its value";
    // Short words are positional, even "--".
    ASSERT_TRUE(words.read({"-", "--"})) << words.error;
    EXPECT_EQ(words.positional, (std::vector<std::string>{"-", "--"}));
}

TEST(CommandWords, RefusalsNameTheWord) {
    Words words;
    EXPECT_FALSE(words.read({"in.wav", "out.png", "--plugin"}));
    EXPECT_EQ(words.error, "option --plugin needs a value");
    EXPECT_FALSE(words.read({"in.wav", "out.png", "--loud"}));
    EXPECT_EQ(words.error, "unknown option '--loud'");
    EXPECT_FALSE(words.read({"in.wav", "out.png", "--plugin=p.so"}));
    EXPECT_EQ(words.error, "unknown option '--plugin=p.so'");
    EXPECT_FALSE(words.read({"in.wav"}));
    EXPECT_EQ(words.error, "usage: IN OUT");
    EXPECT_FALSE(words.read({"a", "b", "c"}));
    EXPECT_EQ(words.error, "usage: IN OUT");
}
