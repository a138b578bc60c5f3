// Real journal files for tests: entries written in the journal export
// format and turned into a journal file by systemd-journal-remote, and read
// back as journalctl -o json prints them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestal::testing {

struct TestEntry {
    std::int64_t realtimeUsec = 0;
    // Fields besides the timestamps (and the boot id, unless given), in
    // order; values may hold any byte.
    std::vector<std::pair<std::string, std::string>> fields;
};

// A pppd entry of host "box": SYSLOG_IDENTIFIER, _PID and MESSAGE.
TestEntry pppdEntry(std::int64_t realtimeUsec, std::string message, std::string ident = "pppd",
                    std::string pid = "4242");

std::string exportFormat(const std::vector<TestEntry>& entries);

// Writes the entries into the journal file at path, after those it holds.
// Fails the test when systemd-journal-remote fails.
void appendToJournal(const std::string& path, const std::vector<TestEntry>& entries);

// journalctl -o json --file path, one object a line: every entry, or those
// of pppd and chat (the entries the program reads).
std::string journalctlJson(const std::string& path);
std::string journalctlPppdJson(const std::string& path, const std::string& options = {});

// Turns a file in the journal export format into the journal file at path.
void journalFromExport(const std::string& exportPath, const std::string& path);

}  // namespace kestal::testing
