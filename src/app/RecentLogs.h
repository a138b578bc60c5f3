// The logs opened last, newest first, kept in the user's settings
// ($XDG_CONFIG_HOME/Kestal/Kestal.conf) from one run to the next.
#pragma once

#include <string>
#include <vector>

namespace kestal {

// What choosing a recent log that no longer exists says.
std::string missingRecentLogText(const std::string& path);

class RecentLogs {
public:
    static constexpr std::size_t kMaximum = 8;

    // Reads the list from the settings.
    RecentLogs();

    // Paths as the system names them, newest first.
    const std::vector<std::string>& paths() const { return paths_; }
    // Puts path first (once), drops what falls past the eighth; saved at once.
    void add(const std::string& path);
    // Takes path off the list; saved at once.
    void remove(const std::string& path);

private:
    void save() const;

    std::vector<std::string> paths_;
};

}  // namespace kestal
