// The logs opened last, newest first, kept in the user's settings
// ($XDG_CONFIG_HOME/Kestal/Kestal.conf) from one run to the next.
#pragma once

#include <string>
#include <vector>

namespace kestal {

// What choosing a recent log that no longer exists says.
std::string missingRecentLogText(const std::string& path);

// An entry of the list is one log's path, or the paths of several files
// read as one log, oldest first, each ended by a NUL byte (which no path
// holds).
std::string recentEntryOf(const std::vector<std::string>& paths);
std::vector<std::string> filesOfRecentEntry(const std::string& entry);

class RecentLogs {
public:
    static constexpr std::size_t kMaximum = 8;

    // Reads the list from the settings.
    RecentLogs();

    // Entries, paths as the system names them, newest first.
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
