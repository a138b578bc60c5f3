#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/WindowsApi.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::TempDir;

// Sets or removes environment variables for one test and puts the old
// values back afterwards.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    void set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

std::string makeWindowsFolder(const std::filesystem::path& prefix) {
    const auto windows = prefix / "drive_c" / "windows";
    std::filesystem::create_directories(windows);
    return windows.string();
}

TEST(FindWindowsDirectory, FollowsWindirThenTheWinePrefixThenHome) {
    TempDir dir;
    const std::string prefixWindows = makeWindowsFolder(dir.path() / "prefix");
    const std::string homeWindows = makeWindowsFolder(dir.path() / "home" / ".wine");
    const std::string prefix = (dir.path() / "prefix").string();
    const std::string home = (dir.path() / "home").string();
    const std::string emptyPrefix = (dir.path() / "empty").string();
    std::filesystem::create_directories(emptyPrefix);
    using Env = std::optional<std::string>;
    const struct {
        Env windir, wineprefix, homeDir;
        std::optional<std::string> expected;
    } cases[] = {
        {"C:/WINDOWS", prefix, home, "C:/WINDOWS"},  // taken as set, not checked
        {"/w/", std::nullopt, std::nullopt, "/w/"},  // a trailing "/" stays
        {"", prefix, home, prefixWindows},           // empty WINDIR counts as unset
        {std::nullopt, prefix, home, prefixWindows},
        {std::nullopt, std::nullopt, home, homeWindows},
        {std::nullopt, "", home, homeWindows},
        {std::nullopt, emptyPrefix, home, std::nullopt},  // a prefix without drive_c/windows
        {std::nullopt, std::nullopt, emptyPrefix, std::nullopt},
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        Environment env;
        env.set("WINDIR", c.windir);
        env.set("WINEPREFIX", c.wineprefix);
        env.set("HOME", c.homeDir);
        EXPECT_EQ(winapi::findWindowsDirectory(), c.expected)
            << c.windir.value_or("(unset)") << " " << c.wineprefix.value_or("(unset)") << " "
            << c.homeDir.value_or("(unset)");
    }
}

TEST(copyWindowsDirectory, FillsTheBufferOrSaysWhatItNeeds) {
    Environment env;
    env.set("WINDIR", "/opt/win");
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, sizeof buffer), 8u);
    EXPECT_STREQ(buffer, "/opt/win");

    // Too small by one: nothing written, the needed size returned.
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, 8), 9u);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, 9), 8u);

    // A 300-byte directory can't be told through the 256-byte buffer the
    // program uses.
    env.set("WINDIR", "/" + std::string(299, 'd'));
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, 256), 301u);
    // 65,546 bytes would read as 10 in the low 16 bits that callers test.
    env.set("WINDIR", "/" + std::string(65544, 'd'));
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, 256), 0u);

    env.set("WINDIR", std::nullopt);
    env.set("WINEPREFIX", std::nullopt);
    env.set("HOME", std::nullopt);
    EXPECT_EQ(winapi::copyWindowsDirectory(buffer, 256), 0u);
}

TEST(setErrorMode, ReturnsThePreviousMode) {
    const unsigned original = winapi::setErrorMode(1);
    EXPECT_EQ(winapi::setErrorMode(original), 1u);
    EXPECT_EQ(winapi::setErrorMode(original), original);
}

TEST(deleteFile, RemovesTheFileAndSaysWhetherItDid) {
    TempDir dir;
    const std::string path = dir.write("ppplog.tmp", "x");
    EXPECT_TRUE(winapi::deleteFile(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(winapi::deleteFile(path.c_str()));
    EXPECT_FALSE(winapi::deleteFile(nullptr));
}

}  // namespace
}  // namespace kestal
