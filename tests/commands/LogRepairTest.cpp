// The NUL repair through the temporary file beside the log.
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "commands/LoadLogFixture.h"

namespace kestal::testing {
namespace {

namespace fs = std::filesystem;

// A log with a NUL byte inside its second call's opening line.
std::string logWithNul() {
    return callText("09:00:00.00", "09:00:10.00") + "12-01-2026 10:00:00.00 - Remote ac\0"s +
           "cess driver log opened.\r\n" +
           crlfText({logLine("10:00:20.00", "Remote access driver log closed.")});
}

TEST_F(LoadLogTest, TempFileLiesBesideTheLog) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/b/ppplog.txt", "/a/b/ppplog.tmp"},
        {"/x.txt", "/ppplog.tmp"},
        {"ppplog.txt", "ppplog.tmp"},
        {"/a/b/", "/a/b/ppplog.tmp"},
        {"/a.b/c", "/a.b/ppplog.tmp"}};
    for (const auto& [log, temp] : cases) EXPECT_EQ(tempPathFor(log), temp) << log;
}

TEST_F(LoadLogTest, NulAnsweredNoScansTheLinesBeforeIt) {
    const std::string bytes = logWithNul();
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::No};
    load(path);
    EXPECT_EQ(platform.dialogTexts(), (std::vector<std::string>{std::string(kAttemptLoadQuestion),
                                                                "Some calls may not be listed!"}));
    EXPECT_EQ(linesOf(state.lines).back(), "12-01-2026 10:00:00.00 - Remote ac");
    EXPECT_EQ(state.lines.size(), 3u);
    EXPECT_EQ(state.table.rowCount(), 1);  // the cut line holds no "log opened"
    EXPECT_TRUE(view.gaugeProgress.empty());
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(readBytes(path), bytes);
    expectSettled();
}

TEST_F(LoadLogTest, NulAnsweredYesRepairsThroughTheTempFile) {
    const std::string bytes = logWithNul();
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kAttemptLoadQuestion)});
    EXPECT_EQ(
        linesOf(state.lines),
        (std::vector<std::string>{"12-01-2026 09:00:00.00 - Remote access driver log opened.",
                                  "12-01-2026 09:00:10.00 - Remote access driver log closed.",
                                  "12-01-2026 10:00:00.00 - Remote access driver log opened.",
                                  "12-01-2026 10:00:20.00 - Remote access driver log closed."}));
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_EQ(state.table.cell(Column::Duration, 1), "00:00:20");
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(readBytes(path), bytes);
    // Busy for the read, the repair and the scan.
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_EQ(view.inputBlockChanges, (std::vector<bool>{true, false}));
    expectSettled();
}

TEST_F(LoadLogTest, RepairOfANulInTheLastByteGivesTheSameLines) {
    const std::string bytes = callText("09:00:00.00", "09:00:10.00") + "trailing";
    load(dir.write("log.txt", bytes));
    const std::vector<std::string> before = linesOf(state.lines);
    dir.write("log.txt", bytes + std::string(1, '\0'));
    platform.dialogs.clear();
    platform.dialogAnswers = {DialogResult::Yes};
    state.table.reset();
    load(dir.file("log.txt"));
    EXPECT_EQ(linesOf(state.lines), before);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kAttemptLoadQuestion)});
    EXPECT_EQ(state.table.rowCount(), 1);
    EXPECT_EQ(state.table.cell(Column::EndTime, 0), "12-01-2026 09:00:10");
}

TEST_F(LoadLogTest, GaugeMovesAtEveryWholeThousandBytes) {
    std::string bytes(2500, 'x');
    bytes[10] = '\0';
    bytes[1999] = '\0';
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    std::vector<std::string> duringPump;
    platform.onProcessMessages = [&] {
        duringPump.push_back(std::string(view.gaugeVisible ? "gauge " : "") +
                             (view.inputBlocked ? "blocked " : "") +
                             (platform.busy() ? "busy" : ""));
    };
    load(path);
    EXPECT_EQ(view.gaugeProgress, (std::vector<int>{40, 80}));
    EXPECT_EQ(platform.pumpCount, 2);
    EXPECT_EQ(duringPump, (std::vector<std::string>{"gauge blocked busy", "gauge blocked busy"}));
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{std::string(2498, 'x')});
    EXPECT_EQ(readBytes(path), bytes);
    expectSettled();
}

TEST_F(LoadLogTest, RepairNeverWritesThroughALinkNamedLikeTheTempFile) {
    const std::string victim = dir.write("victim.txt", "precious\r\n");
    fs::create_directory(dir.path() / "logs");
    fs::create_symlink(victim, dir.path() / "logs" / "ppplog.tmp");
    const std::string path = dir.write("logs/log.txt", "a\0b\r\n"s);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(readBytes(victim), "precious\r\n");
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"ab"});
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "logs" / "ppplog.tmp")));
    EXPECT_TRUE(dialogsOfKind(DialogRecord::Kind::ErrorReport).empty());
}

TEST_F(LoadLogTest, TempFileFailuresAreReportedAndTheLinesReadBeforeScanned) {
    struct Case {
        const char* name;
        std::function<void(const std::string& temp)> arrange;
        std::function<std::string(const std::string& temp)> report;
    };
    const std::vector<Case> cases = {
        {"can't be created: a folder of that name, with a file in it",
         [](const std::string& temp) {
             fs::create_directory(temp);
             std::ofstream(temp + "/keep") << "x";
         },
         [](const std::string& temp) { return "Cannot create file " + temp + "."; }},
    };
    for (const Case& c : cases) {
        TempDir folder;
        const std::string bytes = callText("09:00:00.00", "09:00:10.00") + std::string(3000, '\0') +
                                  callText("10:00:00.00", "10:00:10.00");
        const std::string path = folder.write("log.txt", bytes);
        const std::string temp = folder.file("ppplog.tmp");
        c.arrange(temp);
        platform.dialogs.clear();
        platform.dialogAnswers = {DialogResult::Yes};
        state.table.reset();
        load(path);
        platform.onProcessMessages = nullptr;

        const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
        ASSERT_EQ(reports.size(), 1u) << c.name;
        EXPECT_EQ(reports[0].text, c.report(temp)) << c.name;
        EXPECT_EQ(platform.dialogs.back().text, "Some calls may not be listed!") << c.name;
        EXPECT_EQ(state.lines.size(), 2u) << c.name;  // the lines before the NUL bytes
        EXPECT_EQ(state.table.rowCount(), 1) << c.name;
        EXPECT_EQ(state.table.cell(Column::StartTime, 0), "12-01-2026 09:00:00") << c.name;
        EXPECT_EQ(readBytes(path), bytes) << c.name;
        expectSettled();
    }
}

TEST_F(LoadLogTest, TempFolderThatCantBeReplacedIsLeftAlone) {
    const std::string temp = dir.file("ppplog.tmp");
    fs::create_directory(temp);
    std::ofstream(temp + "/keep") << "x";
    platform.dialogAnswers = {DialogResult::Yes};
    load(dir.write("log.txt", "a\0b\r\n"s));
    EXPECT_TRUE(fs::exists(temp + "/keep"));
}

TEST_F(LoadLogTest, TempFileThatCantBeWrittenIsReportedAndRemoved) {
    const std::string bytes = "a\0"s + std::string(5000, 'b') + "\r\n";
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    // A file size limit fails the writes, also for root.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    load(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, withFullStop(ioErrorText(ioCodeFromErrno(EFBIG, false))));
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"a"});
    EXPECT_EQ(platform.dialogs.back().text, "Some calls may not be listed!");
    expectSettled();
}

TEST_F(LoadLogTest, LogNamedLikeTheTempFileIsNeverRemoved) {
    const std::string bytes = "a\0b\r\n"s;
    const std::string path = dir.write("ppplog.tmp", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(readBytes(path), bytes);
    const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "Cannot create file " + path + ".");
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"a"});

    // Nor when it is reached through a link of another name.
    platform.dialogs.clear();
    fs::create_symlink(path, dir.path() / "other.txt");
    platform.dialogAnswers = {DialogResult::Yes};
    load(dir.file("other.txt"));
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(dialogsOfKind(DialogRecord::Kind::ErrorReport).size(), 1u);
}

}  // namespace
}  // namespace kestal::testing
