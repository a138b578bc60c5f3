#include "JournalFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/CommandOutput.h"

namespace kestal::testing {

namespace {

const char* const kJournalRemote = "/lib/systemd/systemd-journal-remote";

void appendLittleEndian64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace

TestEntry pppdEntry(std::int64_t realtimeUsec, std::string message, std::string ident,
                    std::string pid) {
    TestEntry entry{realtimeUsec, {{"_HOSTNAME", "box"}, {"SYSLOG_IDENTIFIER", std::move(ident)}}};
    if (!pid.empty()) entry.fields.emplace_back("_PID", std::move(pid));
    entry.fields.emplace_back("MESSAGE", std::move(message));
    return entry;
}

std::string exportFormat(const std::vector<TestEntry>& entries) {
    std::string out;
    for (const TestEntry& entry : entries) {
        out += "__REALTIME_TIMESTAMP=" + std::to_string(entry.realtimeUsec) + "\n";
        out += "__MONOTONIC_TIMESTAMP=" + std::to_string(entry.realtimeUsec / 1000) + "\n";
        bool ownBoot = false;
        for (const auto& field : entry.fields) ownBoot = ownBoot || field.first == "_BOOT_ID";
        if (!ownBoot) out += "_BOOT_ID=0123456789abcdef0123456789abcdef\n";
        for (const auto& [name, value] : entry.fields) {
            // A value with a line break (or any control byte) goes in the
            // binary form: name, LF, 64-bit little-endian length, bytes, LF.
            bool binary = false;
            for (const char c : value) binary = binary || static_cast<unsigned char>(c) < ' ';
            if (binary) {
                out += name + "\n";
                appendLittleEndian64(out, value.size());
                out += value + "\n";
            } else {
                out += name + "=" + value + "\n";
            }
        }
        out += "\n";
    }
    return out;
}

void appendToJournal(const std::string& path, const std::vector<TestEntry>& entries) {
    const std::string command = std::string(kJournalRemote) + " -o '" + path + "' - 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    const std::string bytes = exportFormat(entries);
    std::fwrite(bytes.data(), 1, bytes.size(), pipe);
    ASSERT_EQ(::pclose(pipe), 0) << command;
}

std::string journalctlJson(const std::string& path) {
    return commandOutput("journalctl -q -o json --file '" + path + "'");
}

std::string journalctlPppdJson(const std::string& path, const std::string& options) {
    return commandOutput("journalctl -q -o json " + options + " --file '" + path +
                         "' SYSLOG_IDENTIFIER=pppd + SYSLOG_IDENTIFIER=chat + _COMM=pppd");
}

void journalFromExport(const std::string& exportPath, const std::string& path) {
    const std::string command =
        std::string(kJournalRemote) + " -o '" + path + "' '" + exportPath + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace kestal::testing
