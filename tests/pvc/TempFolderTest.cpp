#include "pvc/TempFolder.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace wowfix {
namespace {

using test::ScratchFolder;
using test::writeText;

TEST(TempFolder, CreatesMissingParentsLevelByLevel)
{
    ScratchFolder scratch;
    const std::string deep = (scratch.path() / "a" / "b" / "c").string();
    EXPECT_TRUE(TempFolder::createLevels(deep));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(TempFolder::createLevels(deep));  // existing: still fine
    EXPECT_TRUE(TempFolder::createLevels((scratch.path() / "x" / "y").string() + "/"));
    EXPECT_TRUE(fs::is_directory(scratch.path() / "x" / "y"));
}

TEST(TempFolder, FailsThroughAFileAndForAnEmptyPath)
{
    ScratchFolder scratch;
    writeText(scratch.file("plain"), "x");
    EXPECT_FALSE(TempFolder::createLevels((scratch.path() / "plain" / "sub").string()));
    EXPECT_FALSE(TempFolder::createLevels(""));
}

TEST(TempFolder, InstanceFoldersAreDistinctAndEmpty)
{
    ScratchFolder scratch;
    const std::string base = (scratch.path() / "base" / "deeper").string();
    std::string first;
    std::string second;
    ASSERT_TRUE(TempFolder::createInstanceFolder(base, first));
    ASSERT_TRUE(TempFolder::createInstanceFolder(base, second));
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), fs::path(base));
    EXPECT_TRUE(fs::is_empty(first));
    EXPECT_TRUE(fs::is_empty(second));

    writeText(scratch.file("file"), "x");
    std::string none = "stale";
    EXPECT_FALSE(TempFolder::createInstanceFolder(scratch.file("file"), none));
    EXPECT_TRUE(none.empty());
}

TEST(TempFolder, SafeNameKeepsOnlyOnePlainName)
{
    EXPECT_EQ(TempFolder::safeName("song.wav"), "song.wav");
    EXPECT_EQ(TempFolder::safeName("C:\\music\\take 1.wav"), "take 1.wav");
    EXPECT_EQ(TempFolder::safeName("../../etc/passwd"), "passwd");
    EXPECT_EQ(TempFolder::safeName(".."), "unnamed");
    EXPECT_EQ(TempFolder::safeName(""), "unnamed");
    EXPECT_EQ(TempFolder::safeName("dir/"), "unnamed");
    EXPECT_EQ(TempFolder::safeName("..hidden. "), "hidden");
    EXPECT_EQ(TempFolder::safeName("a:b*c?\x01"), "a_b_c__");
    EXPECT_EQ(TempFolder::safeName(std::string(500, 'n')).size(), 120u);
}

#if !defined(_WIN32)
// Sets or unsets environment variables for one test and restores them after.
class EnvironmentGuard {
public:
    void set(const char* name, const char* value)
    {
        remember(name);
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentGuard()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    void remember(const char* name)
    {
        for (const auto& entry : saved_)
            if (entry.first == name)
                return;
        const char* current = std::getenv(name);
        saved_.emplace_back(name, current ? std::optional<std::string>(current) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(TempFolder, DefaultBaseFollowsTheEnvironment)
{
    EnvironmentGuard env;
    env.set("WOWFIX_TEMP", "/chosen/place");
    EXPECT_EQ(TempFolder::defaultBase(), "/chosen/place");

    env.set("WOWFIX_TEMP", nullptr);
    env.set("XDG_RUNTIME_DIR", "/run/user/1234");
    EXPECT_EQ(TempFolder::defaultBase(), "/run/user/1234/wowfix");

    env.set("XDG_RUNTIME_DIR", nullptr);
    env.set("TMPDIR", "/var/tmp");
    env.set("USER", "anna/../x");
    EXPECT_EQ(TempFolder::defaultBase(), "/var/tmp/wowfix-x");

    env.set("TMPDIR", nullptr);
    env.set("USER", "anna");
    EXPECT_EQ(TempFolder::defaultBase(), "/tmp/wowfix-anna");

    env.set("USER", nullptr);
    env.set("LOGNAME", nullptr);
    EXPECT_EQ(TempFolder::defaultBase(), "/tmp/wowfix-user");
}
#endif

}  // namespace
}  // namespace wowfix
