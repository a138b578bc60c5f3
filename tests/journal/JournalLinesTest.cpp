#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "JournalFiles.h"
#include "TempDir.h"
#include "journal/JournalEntryLine.h"
#include "journal/JournalLines.h"
#include "platform/Errors.h"
#include "pppd/LinePrefix.h"

namespace kestal {
namespace {

using testing::appendToJournal;
using testing::pppdEntry;
using testing::TempDir;
using testing::TestEntry;

// 2024-05-01 10:00:00 in Berlin (UTC+2), and a fraction of a second.
constexpr std::int64_t kMay1 = 1714550400LL * 1000000 + 123456;
constexpr std::int64_t kSecond = 1000000;

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

struct EntryLineCase {
    const char* what;
    JournalEntry entry;
    const char* line;
};

using EntryLineTest = JournalTest;

TEST_F(EntryLineTest, ShortIsoWhenTheStyleCarriesTheEntryElseJsonFields) {
    const EntryLineCase cases[] = {
        {"plain",
         {kMay1, "box", "pppd", "123", "Connect: ppp0 <--> /dev/ttyUSB0"},
         "2024-05-01T10:00:00+02:00 box pppd[123]: Connect: ppp0 <--> /dev/ttyUSB0"},
        {"winter time",
         {kMay1 - 180LL * 86400 * kSecond, "box", "chat", "7", "send (ATZ^M)"},
         "2023-11-03T09:00:00+01:00 box chat[7]: send (ATZ^M)"},
        {"no pid, no host",
         {kMay1, std::nullopt, "pppd", std::nullopt, "Exit."},
         "2024-05-01T10:00:00+02:00 pppd: Exit."},
        {"pid the reader drops",
         {kMay1, "box", "pppd", "99999999999", "Exit."},
         "2024-05-01T10:00:00+02:00 box pppd: Exit."},
        {"host with a blank",
         {kMay1, "my box", "pppd", "1", "x"},
         "2024-05-01T10:00:00+02:00 pppd[1]: x"},
        {"empty message",
         {kMay1, "box", "pppd", "1", ""},
         "2024-05-01T10:00:00+02:00 box pppd[1]: "},
        {"line break",
         {kMay1, "box", "pppd", "1", "two\nlines \"q\" \\ \x01"},
         R"({"__REALTIME_TIMESTAMP":"1714550400123456","_HOSTNAME":"box",)"
         R"("SYSLOG_IDENTIFIER":"pppd","_PID":"1","MESSAGE":"two\nlines \"q\" \\ \u0001"})"},
        {"no identifier",
         {kMay1, std::nullopt, std::nullopt, "1", "x"},
         R"({"__REALTIME_TIMESTAMP":"1714550400123456","_PID":"1","MESSAGE":"x"})"},
        {"identifier with a colon",
         {kMay1, std::nullopt, "pp:d", std::nullopt, "x"},
         R"({"__REALTIME_TIMESTAMP":"1714550400123456","SYSLOG_IDENTIFIER":"pp:d","MESSAGE":"x"})"},
    };
    for (const EntryLineCase& c : cases) {
        std::string text = "before\n";
        appendEntryLine(c.entry, text);
        EXPECT_EQ(text, std::string("before\n") + c.line + "\n") << c.what;
    }
}

// Every entry the reader would take from journalctl's JSON comes out of the
// journal with the same time, program, process and message.
TEST_F(JournalTest, LinesReadAsJournalctlsJsonOfTheSameEntries) {
    TempDir dir;
    const std::string file = dir.file("system.journal");
    std::vector<TestEntry> entries = {
        pppdEntry(kMay1, "pppd 2.4.9 started by root, uid 0"),
        pppdEntry(kMay1 + 999999, "Using interface ppp0"),
        pppdEntry(kMay1 + kSecond, "send (ATDT*99#^M)", "chat", "4243"),
        pppdEntry(kMay1 + 2 * kSecond, "first\nsecond"),
        pppdEntry(kMay1 + 3 * kSecond, "tab\there, bell \x07, high \xe9\xff"),
        pppdEntry(kMay1 + 4 * kSecond, "quote \" and \\ backslash"),
        pppdEntry(kMay1 + 5 * kSecond, "no pid", "pppd", ""),
        pppdEntry(kMay1 + 6 * kSecond, "huge pid", "pppd", "12345678901"),
        pppdEntry(kMay1 + 7 * kSecond, "not ours", "kernel"),
        {kMay1 + 8 * kSecond, {{"_COMM", "pppd"}, {"MESSAGE", "stdout of pppd"}}},
        {kMay1 + 9 * kSecond,
         {{"_BOOT_ID", "fedcba9876543210fedcba9876543210"},
          {"SYSLOG_IDENTIFIER", "pppd"},
          {"_PID", "77"},
          {"MESSAGE", "another boot"}}},
        pppdEntry(kMay1 + 10 * kSecond, "Exit."),
    };
    appendToJournal(file, entries);

    JournalLines journal(JournalSource{{file}, {}, {}, {}});
    std::string text;
    const std::size_t count = journal.readNew(text);
    const auto ours = splitLines(text);
    ASSERT_EQ(count, ours.size());
    EXPECT_EQ(journal.access(), JournalAccess::Readable);

    const MonthNames months;
    std::vector<std::string> expected;
    for (const std::string& line : splitLines(testing::journalctlJson(file))) {
        std::string decoded;
        const auto read = readPrefix(line, months, decoded);
        ASSERT_TRUE(read) << line;
        if (read->program == "kernel") continue;
        expected.push_back(line);
    }
    ASSERT_EQ(ours.size(), expected.size()) << text;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        std::string decodedOurs, decodedTheirs;
        const auto mine = readPrefix(ours[i], months, decodedOurs);
        const auto theirs = readPrefix(expected[i], months, decodedTheirs);
        ASSERT_TRUE(mine) << ours[i];
        EXPECT_EQ(mine->time, theirs->time) << ours[i];
        EXPECT_EQ(mine->program, theirs->program) << ours[i];
        EXPECT_EQ(mine->pid, theirs->pid) << ours[i];
        EXPECT_EQ(mine->message, theirs->message) << ours[i];
    }
    EXPECT_EQ(ours.front(),
              "2024-05-01T10:00:00+02:00 box pppd[4242]: pppd 2.4.9 started by root, uid 0");
}

TEST_F(JournalTest, SinceAndUntilLimitTheEntriesRead) {
    TempDir dir;
    const std::string file = dir.file("a.journal");
    appendToJournal(
        file, {pppdEntry(kMay1, "one"), pppdEntry(kMay1 + kSecond, "two"),
               pppdEntry(kMay1 + 2 * kSecond, "three"), pppdEntry(kMay1 + 3 * kSecond, "four")});
    struct Case {
        std::optional<std::int64_t> since, until;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {{}, {}, {"one", "two", "three", "four"}},
        {kMay1 + kSecond, {}, {"two", "three", "four"}},
        {{}, kMay1 + 2 * kSecond, {"one", "two"}},
        {kMay1 + 1, kMay1 + 3 * kSecond, {"two", "three"}},
        {kMay1 + 4 * kSecond, {}, {}},
    };
    for (const Case& c : cases) {
        JournalLines journal(JournalSource{{file}, {}, c.since, c.until});
        std::string text;
        journal.readNew(text);
        std::vector<std::string> messages;
        for (const std::string& line : splitLines(text))
            messages.push_back(line.substr(line.find(": ") + 2));
        EXPECT_EQ(messages, c.messages) << text;
    }
}

// Waits up to five seconds for the journal to tell of a change.
bool changed(JournalLines& journal) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        pollfd watch{journal.descriptor(), POLLIN, 0};
        ::poll(&watch, 1, 250);
        if (journal.processChanges()) return true;
    }
    return false;
}

TEST_F(JournalTest, FollowingGivesTheEntriesAppendedWhileOpen) {
    TempDir dir;
    const std::string file = dir.file("live.journal");
    appendToJournal(file, {pppdEntry(kMay1, "Connect: ppp0 <--> /dev/ttyUSB0")});
    JournalLines journal(JournalSource{{file}, {}, {}, {}});
    std::string text;
    ASSERT_EQ(journal.readNew(text), 1u);
    ASSERT_GE(journal.descriptor(), 0);
    EXPECT_EQ(journal.readNew(text), 0u);

    appendToJournal(file, {pppdEntry(kMay1 + kSecond, "LCP terminated by peer"),
                           pppdEntry(kMay1 + 2 * kSecond, "Connection terminated.")});
    ASSERT_TRUE(changed(journal));
    std::string added;
    EXPECT_EQ(journal.readNew(added), 2u);
    EXPECT_EQ(added,
              "2024-05-01T10:00:01+02:00 box pppd[4242]: LCP terminated by peer\n"
              "2024-05-01T10:00:02+02:00 box pppd[4242]: Connection terminated.\n");
    EXPECT_EQ(journal.readNew(added), 0u);
}

// A file cut short while it is open loses pages the library has mapped:
// the read fails, then and after, instead of ending the program.
TEST_F(JournalTest, AFileCutShortWhileOpenCantBeReadOn) {
    TempDir dir;
    const std::string file = dir.file("cut.journal");
    std::vector<TestEntry> entries;
    for (int i = 0; i < 200; ++i)
        entries.push_back(pppdEntry(kMay1 + i * kSecond, "Connect: ppp0 <--> /dev/ttyUSB0"));
    appendToJournal(file, entries);
    JournalLines journal(JournalSource{{file}, {}, {}, {}});
    std::string text;
    ASSERT_EQ(journal.readNew(text, 1), 1u);

    ASSERT_EQ(::truncate(file.c_str(), 4096), 0);
    try {
        journal.readNew(text);
        ADD_FAILURE() << "read on past the cut";
    } catch (const CommandError& error) {
        EXPECT_EQ(std::string(error.what()), "Can't read the journal: Input/output error");
    }
    EXPECT_THROW(journal.readNew(text), CommandError);
    EXPECT_FALSE(journal.processChanges());
}

TEST_F(JournalTest, MissingJournalsAreNoJournal) {
    TempDir dir;
    const JournalSource sources[] = {
        {{dir.file("nothere.journal")}, {}, {}, {}},
        {{}, dir.path().string(), {}, {}},
    };
    for (const JournalSource& source : sources) {
        JournalLines journal(source);
        std::string text;
        EXPECT_EQ(journal.readNew(text), 0u);
        EXPECT_EQ(journal.access(), JournalAccess::NoJournal);
        EXPECT_EQ(journal.readerGroup(), "systemd-journal");
    }
}

}  // namespace
}  // namespace kestal
