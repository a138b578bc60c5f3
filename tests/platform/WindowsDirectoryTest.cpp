// Where the Windows directory is found: $WINDIR, the Wine prefix, home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/WindowsDirectory.h"
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
        EXPECT_EQ(findWindowsDirectory(), c.expected)
            << c.windir.value_or("(unset)") << " " << c.wineprefix.value_or("(unset)") << " "
            << c.homeDir.value_or("(unset)");
    }
}

}  // namespace
}  // namespace kestal
