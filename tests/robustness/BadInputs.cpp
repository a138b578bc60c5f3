#include "robustness/BadInputs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "calls/CallScan.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "details/CallDetails.h"
#include "output/Printouts.h"
#include "output/TableExport.h"
#include "robustness/BadInputs.h"
#include "robustness/RobustnessHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal::testing {

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The cells of a sample call's row, all 18 of them.
std::vector<Cell> fullRow(int row, const char* const (&cells)[18]) {
    std::vector<Cell> all;
    for (int column = 0; column < kColumnCount; ++column)
        all.push_back({column, row, cells[column]});
    return all;
}

std::vector<Cell> operator+(std::vector<Cell> a, const std::vector<Cell>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The lines Show Call Details gathers for a Start Time.

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// A row of a call that is its log's only, unclosed line.
std::vector<Cell> loneOpenerRow(std::string_view start) {
    std::vector<Cell> cells = {
        {0, 0, std::string(start)}, {1, 0, std::string(start)}, {2, 0, "-       "}};
    for (int column = 3; column <= 6; ++column) cells.push_back({column, 0, "-"});
    for (int column = 7; column < kColumnCount; ++column) cells.push_back({column, 0, ""});
    return cells;
}

const std::string kHighOpener =
    "12-01-2026\xA0"
    "09:12:04.30 - \xC4\xD6\xDC log opened \xFF";
const std::string kHighCounter = "\xE9\x80 182344\xFF";  // 10 bytes: positions 49 to 58
const std::string kHighStart =
    "12-01-2026\xA0"
    "09:12:04";

std::string plainLog(const TempDir& dir, const std::string& bytes) {
    return dir.write("ppplog.txt", bytes);
}

// Forty lines before the calls.
std::string paddingLines() {
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += testing::logLine("12-01-2026 09:00:00.00", "Modem initialised.\r\n");
    return lines;
}

}  // namespace

std::vector<std::string> details(const LogLines& lines, std::string_view start) {
    return gatherCallDetails(lines, start, [](std::string_view) {});
}

std::vector<BadInput> badInputs() {
    const std::string twoCallText = testing::twoCalls();
    std::string nulInCall = twoCallText;
    nulInCall.insert(nulInCall.find("Layer up") + 2, 1, '\0');  // "LCP : La\0yer up"
    const std::vector<Cell> bothCalls =
        fullRow(0, testing::kFirstCallRow) +
        std::vector<Cell>{{0, 1, std::string(testing::kSecondCallStart)}};
    auto log = [](std::string bytes) {
        return [bytes](const TempDir& d) { return plainLog(d, bytes); };
    };

    return {
        {.name = "zero bytes", .make = log("")},
        {.name = "only NUL bytes, repaired",
         .make = log(std::string(4096, '\0')),
         .answers = {Yes},
         .dialogs = {kQuestion}},
        {.name = "only NUL bytes, not repaired",
         .make = log(std::string(4096, '\0')),
         .answers = {No},
         .dialogs = {kQuestion, kNotListed}},
        {.name = "leading NUL, not repaired",
         .make = log("\0"s + twoCallText),
         .answers = {No},
         .dialogs = {kQuestion, kNotListed}},
        {.name = "leading NUL, repaired",
         .make = log("\0"s + twoCallText),
         .answers = {Yes},
         .dialogs = {kQuestion},
         .calls = 2,
         .cells = bothCalls},
        {.name = "NUL inside a call, not repaired",
         .make = log(nulInCall),
         .answers = {No},
         .dialogs = {kQuestion, kNotListed},
         .calls = 1,
         // The line with the NUL ends at it, and the log with that line.
         .cells = {{0, 0, "12-01-2026 09:12:04"},
                   {1, 0, "12-01-2026 09:12:05"},
                   {2, 0, "00:00:01"},
                   {3, 0, "-"}}},
        {.name = "NUL inside a call, repaired",
         .make = log(nulInCall),
         .answers = {Yes},
         .dialogs = {kQuestion},
         .calls = 2,
         .cells = bothCalls},
        {.name = "random binary",
         .make = log(randomBytes(64 * 1024, 1)),
         .answers = {Yes},
         .dialogs = {kQuestion}},
        {.name = "binary junk around a call",
         .make = log(randomBytes(4096, 2) + "\r\n" + testing::firstCall() + randomBytes(4096, 3)),
         .answers = {Yes},
         .dialogs = {kQuestion},
         .calls = 1,
         .cells = fullRow(0, testing::kFirstCallRow)},
        {.name = "50 MB on one line without line end, a NUL last",
         .make =
             [](const TempDir& d) {
                 std::string bytes = testing::logLine("12-01-2026 09:12:04.30",
                                                      "Remote access driver log opened. ");
                 bytes.resize(50u << 20, 'x');
                 bytes.back() = '\0';
                 return plainLog(d, bytes);
             },
         .answers = {Yes},
         .dialogs = {kQuestion},
         .calls = 1,
         .cells = loneOpenerRow("12-01-2026 09:12:04"),
         .check =
             [](const LogState& state, const RecordingView& view, const FakePlatform&) {
                 ASSERT_EQ(state.lines.size(), 1u);
                 EXPECT_EQ(state.lines[0].size(), (50u << 20) - 1);
                 // The gauge moved at every thousand bytes, up to its end.
                 EXPECT_EQ(view.gaugeProgress.size(), (50u << 20) / 1000);
                 EXPECT_EQ(view.gaugeProgress.back(), 99);
             }},
        {.name = "CR alone as line end",
         .make = log(testing::withLineEnds(twoCallText, "\r")),
         .calls = 2,
         .cells = bothCalls},
        {.name = "LF CR as line end",
         .make = log(testing::withLineEnds(twoCallText, "\n\r")),
         .calls = 2,
         .cells = bothCalls,
         .check =
             [](const LogState& state, const RecordingView&, const FakePlatform&) {
                 // Every LF CR is two line ends with an empty line between.
                 ASSERT_GE(state.lines.size(), 2u);
                 EXPECT_EQ(state.lines[1], "");
             }},
        {.name = "LF alone as line end",
         .make = log(testing::withLineEnds(twoCallText, "\n")),
         .calls = 2,
         .cells = bothCalls},
        {.name = "\"log opened\" lines of 18, 19 and 20 characters",
         .make = log(testing::joinLines(
             {"12345678log opened", "123456789log opened", "1234567890log opened",
              testing::logLine("12-01-2026 09:12:05.00", "log closed")})),
         // No start time can be read: one warning for each call.
         .dialogs = {kCorrupt, kCorrupt, kCorrupt},
         .calls = 3,
         .cells = {{0, 0, "12345678log opened"},
                   {1, 0, "-                "},
                   {2, 0, "-       "},
                   {0, 1, "123456789log opened"},
                   {1, 1, "-                "},
                   {0, 2, "1234567890log opene"},
                   {1, 2, "12-01-2026 09:12:05"},
                   {2, 2, "-       "}},
         .check =
             [](const LogState& state, const RecordingView&, const FakePlatform&) {
                 // Each short opener finds its own call again.
                 for (int row = 0; row < 3; ++row) {
                     const auto shown =
                         details(state.lines, state.table.cell(Column::StartTime, row));
                     ASSERT_FALSE(shown.empty()) << row;
                     EXPECT_EQ(shown.front(), state.lines[static_cast<std::size_t>(row)]);
                 }
             }},
        {.name = "a million \"log opened\" lines",
         .make =
             [](const TempDir& d) {
                 const std::string line = "12-01-2026 09:12:04 log opened\r\n";
                 std::string bytes;
                 bytes.reserve(line.size() * 1000000);
                 for (int i = 0; i < 1000000; ++i) bytes += line;
                 return plainLog(d, bytes);
             },
         .calls = 1000000,
         // Each call is cut short by the next; the last one ends the log.
         .cells = {{0, 0, "12-01-2026 09:12:04"},
                   {1, 0, "-                "},
                   {2, 0, "-       "},
                   {0, 999999, "12-01-2026 09:12:04"},
                   {1, 999999, "12-01-2026 09:12:04"},
                   {2, 999999, "-       "}},
         .check = [](const LogState&, const RecordingView& view,
                     const FakePlatform&) { EXPECT_EQ(view.statusText, "1000000 Calls"); }},
        {.name = "bytes 0x80 to 0xFF",
         .make =
             [](const TempDir& d) {
                 std::string all;
                 for (int c = 0x80; c <= 0xFF; ++c) all += static_cast<char>(c);
                 return plainLog(
                     d, testing::joinLines(
                            {kHighOpener, all,
                             testing::counterLine("12-01-2026 09:22:41.10", "Bytes Received",
                                                  kHighCounter),
                             testing::logLine("12-01-2026 09:22:41.20", "log closed \xFE")}));
             },
         .calls = 1,
         .cells = {{0, 0, kHighStart},
                   {1, 0, "12-01-2026 09:22:41"},
                   {2, 0, "00:10:37"},
                   {7, 0, kHighCounter}},
         .check =
             [](const LogState& state, const RecordingView&, const FakePlatform&) {
                 // The exports, the printout and the details give the bytes back.
                 EXPECT_NE(exportTable(state.table, ExportLayout::TabSeparated, false)
                               .find(kHighStart + "\t12-01-2026 09:22:41\t00:10:37\t-\t-\t-\t-\t" +
                                     kHighCounter + "\t"),
                           std::string::npos);
                 EXPECT_NE(exportTable(state.table, ExportLayout::CommaSeparated, true)
                               .find(kHighStart + ","),
                           std::string::npos);
                 const std::string fixed =
                     kHighStart +
                     " 12-01-2026 09:22:41 00:10:37  -         -         -         -         " +
                     kHighCounter;
                 EXPECT_EQ(exportTable(state.table, ExportLayout::FixedWidth, false)
                               .substr(0, fixed.size()),
                           fixed);
                 std::vector<std::string> printed;
                 forEachTablePrintoutLine(state.table,
                                          [&](std::string_view l) { printed.emplace_back(l); });
                 EXPECT_EQ(printed.at(1), std::string(kDialUpColumns[0].title) + ": " + kHighStart);
                 const auto shown = details(state.lines, kHighStart);
                 ASSERT_EQ(shown.size(), 4u);
                 EXPECT_EQ(shown[0], kHighOpener);
             }},
        {.name = "a folder",
         .make =
             [](const TempDir& d) {
                 fs::create_directory(d.file("ppplog.txt"));
                 return d.file("ppplog.txt");
             },
         .dialogs = {kInUse}},
        {.name = "a FIFO",
         .make =
             [](const TempDir& d) {
                 if (::mkfifo(d.file("ppplog.txt").c_str(), 0600) != 0)
                     throw std::runtime_error("mkfifo");
                 return d.file("ppplog.txt");
             },
         .dialogs = {kInUse}},
        {.name = "a dangling symbolic link",
         .make =
             [](const TempDir& d) {
                 fs::create_symlink(d.file("gone.txt"), d.file("ppplog.txt"));
                 return d.file("ppplog.txt");
             },
         .dialogs = {kInUse}},
        {.name = "a missing file",
         .make = [](const TempDir& d) { return d.file("ppplog.txt"); },
         .dialogs = {kInUse}},
        {.name = "a log that grows while it is repaired",
         // More than a thousand bytes, so that the repair lets events through.
         .make = log("\0"s + paddingLines() + twoCallText),
         .answers = {Yes},
         .dialogs = {kQuestion},
         .calls = 3,
         .cells = bothCalls + std::vector<Cell>{{0, 2, "12-03-2026 08:00:00"}, {2, 2, "00:00:30"}},
         .arm =
             [](FakePlatform& platform, const std::string& path) {
                 // A call is appended the first time events are let through.
                 auto appended = std::make_shared<bool>(false);
                 platform.onProcessMessages = [path, appended] {
                     if (*appended) return;
                     *appended = true;
                     const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
                     const std::string more =
                         testing::joinLines({testing::logLine("12-03-2026 08:00:00.10",
                                                              "Remote access driver log opened."),
                                             testing::logLine("12-03-2026 08:00:30.10",
                                                              "Remote access driver log closed.")});
                     EXPECT_EQ(::write(fd, more.data(), more.size()),
                               static_cast<ssize_t>(more.size()));
                     ::close(fd);
                 };
             },
         .check =
             [](const LogState&, const RecordingView& view, const FakePlatform&) {
                 for (int progress : view.gaugeProgress) EXPECT_LE(progress, 100);
             },
         .logChangesMeanwhile = true},
    };
}

}  // namespace kestal::testing
