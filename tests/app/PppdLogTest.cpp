// A pppd log in the main window: its columns, the status bar's counts, a
// row's lines, the filter's dropped sessions and failed attempts, its
// export, Follow, and the items that belong to the dial-up log only.
#include <utime.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "AppFixture.h"
#include "app/CallViewControls.h"
#include "app/RecentLogs.h"

namespace kestal::testing {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A session that an echo timeout ended (pppd 2.4: statistics after the
// end), a chat line among its lines, another program's line, and a
// failed attempt.
constexpr std::string_view kPppdLog =
    "Dec  1 10:00:00 host pppd[100]: pppd 2.4.9 started by root, uid 0\n"
    "Dec  1 10:00:01 host chat[101]: send (ATDT*99#^M)\n"
    "Dec  1 10:00:02 host pppd[100]: Connect: ppp0 <--> /dev/ttyUSB0\n"
    "Dec  1 10:00:03 host kernel: usb 1-1: new device\n"
    "Dec  1 10:00:04 host pppd[100]: local  IP address 10.0.0.2\n"
    "Dec  1 10:00:04 host pppd[100]: remote IP address 10.0.0.1\n"
    "Dec  1 10:30:04 host pppd[100]: No response to 4 echo-requests\n"
    "Dec  1 10:30:10 host pppd[100]: Connection terminated.\n"
    "Dec  1 10:30:10 host pppd[100]: Connect time 30.1 minutes.\n"
    "Dec  1 10:30:10 host pppd[100]: Sent 1000 bytes, received 2000 bytes.\n"
    "Dec  1 10:30:11 host pppd[100]: Exit.\n"
    "Dec  1 11:00:00 host pppd[200]: pppd 2.4.9 started by root, uid 0\n"
    "Dec  1 11:00:30 host pppd[200]: LCP: timeout sending Config-Requests\n";

constexpr std::string_view kSessionRow =
    "12-01-2026 10:00:02\t12-01-2026 10:30:10\t00:30:08\t100\tppp0\t/dev/ttyUSB0\t-\t-\t"
    "10.0.0.2\t10.0.0.1\t-\t-\t30.1\t1000\t2000\techo timeout\tNo response to 4 echo-requests";
constexpr std::string_view kAttemptRow =
    "12-01-2026 11:00:00\t12-01-2026 11:00:30\t00:00:30\t200\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t"
    "negotiation timeout\tLCP: timeout sending Config-Requests";

class PppdLogWindow : public AppTest {
protected:
    // A pppd log made in the scratch folder, dated as if written on
    // 8 December 2026 (its dates carry no year).
    std::string writePppdLog(std::string_view bytes) {
        const std::string path = windows.write("syslog", bytes);
        using namespace std::chrono;
        const time_t noon =
            sys_seconds{sys_days{December / 8 / 2026} + hours{12}}.time_since_epoch().count();
        const utimbuf times{noon, noon};
        ::utime(path.c_str(), &times);
        return path;
    }
    // The windows over a system log of three calls, as at start-up.
    void start() {
        writeLog(kThreeCallLog);
        createWindows();
    }
    void open(const std::string& path) {
        platform.fileDialogAnswers.push_back(path);
        action("Open1")->trigger();
    }
    QString cell(int row, int column) const {
        return main->model()->data(main->model()->index(row, column)).toString();
    }
    // The grid's rows as the tab-separated export writes them.
    std::vector<std::string> shownRows() const {
        std::vector<std::string> rows;
        const QAbstractItemModel* shown = grid()->model();
        for (int row = 0; row < shown->rowCount(); ++row) {
            std::string line;
            for (int column = 0; column < shown->columnCount(); ++column) {
                if (column > 0) line += '\t';
                line += shown->data(shown->index(row, column)).toString().toStdString();
            }
            rows.push_back(line);
        }
        return rows;
    }
    void check(const char* name, bool on) const { child<QCheckBox>(*main, name)->setChecked(on); }
};

TEST_F(PppdLogWindow, ShowsTheSeventeenColumnsCountsAndGreysTheDialUpItems) {
    start();
    open(writePppdLog(kPppdLog));
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{});
    ASSERT_EQ(main->model()->columnCount(), 17);
    EXPECT_EQ(main->model()->headerData(12, Qt::Horizontal).toString(),
              QStringLiteral(" Connect Time"));
    EXPECT_EQ(grid()->columnWidth(16), 250);
    EXPECT_EQ(shownRows(),
              (std::vector<std::string>{std::string(kSessionRow), std::string(kAttemptRow)}));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("1 Sessions, 1 Failed Attempts"));
    EXPECT_FALSE(action("Clear1")->isEnabled());
    EXPECT_TRUE(action("Statistics1")->isEnabled());
    EXPECT_TRUE(action("Trends1")->isEnabled());

    // Back to a dial-up log: its 18 columns and items as before.
    open(windows.file("ppplog.txt"));
    EXPECT_EQ(main->model()->columnCount(), 18);
    EXPECT_EQ(grid()->columnWidth(16), 115);
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("3 Calls"));
    for (const char* item : {"Clear1", "Statistics1", "Trends1"})
        EXPECT_TRUE(action(item)->isEnabled()) << item;
}

TEST_F(PppdLogWindow, LinesThatFitNoPrefixAreCountedInTheStatusBar) {
    start();
    // Before any pppd line (later, a line without a prefix may be the rest
    // of one that a mail wrapped).
    open(writePppdLog("garbage without a prefix\n\x01\x02\n" + std::string(kPppdLog)));
    EXPECT_EQ(statusLabel()->text(),
              QStringLiteral("1 Sessions, 1 Failed Attempts; 2 lines not understood"));
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{});
}

TEST_F(PppdLogWindow, DetailsShowTheRowsOwnLinesAsLogged) {
    start();
    open(writePppdLog(kPppdLog));
    std::vector<std::string> detailsOf[2];
    for (int row = 0; row < 2; ++row) {
        main->viewControls()->selectTableRow(row);
        action("ShowCallDetails2")->trigger();
        const auto* memo = child<QPlainTextEdit>(*details, "Memo1");
        detailsOf[row] = splitLines(memo->toPlainText().toStdString());
    }
    auto holds = [](const std::vector<std::string>& lines, std::string_view line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    const std::vector<std::string>& session = detailsOf[0];
    EXPECT_TRUE(holds(session, "Dec  1 10:00:02 host pppd[100]: Connect: ppp0 <--> /dev/ttyUSB0"));
    EXPECT_TRUE(holds(session, "Dec  1 10:30:10 host pppd[100]: Connection terminated."));
    EXPECT_TRUE(holds(session, "Dec  1 10:30:11 host pppd[100]: Exit."));
    EXPECT_FALSE(holds(session, "Dec  1 10:00:03 host kernel: usb 1-1: new device"));
    // In the log's order.
    std::size_t at = 0;
    for (const std::string& line : session) {
        const std::size_t found = kPppdLog.find(line, at);
        EXPECT_NE(found, std::string_view::npos) << line;
        at = found == std::string_view::npos ? at : found;
    }
    const std::vector<std::string>& attempt = detailsOf[1];
    EXPECT_TRUE(
        holds(attempt, "Dec  1 11:00:30 host pppd[200]: LCP: timeout sending Config-Requests"));
    for (const std::string& line : attempt) EXPECT_EQ(line.find("pppd[100]"), std::string::npos);
}

TEST_F(PppdLogWindow, TheFilterShowsDroppedSessionsOrFailedAttempts) {
    start();
    open(writePppdLog(kPppdLog));
    action("Filter1")->trigger();
    EXPECT_TRUE(child<QCheckBox>(*main, "ErrorsCheck")->isHidden());
    EXPECT_TRUE(child<QCheckBox>(*main, "CutShortCheck")->isHidden());
    EXPECT_FALSE(child<QCheckBox>(*main, "DroppedCheck")->isHidden());

    struct Case {
        bool dropped, failed;
        std::vector<std::string> rows;
        const char* status;
    };
    const std::vector<Case> cases = {
        {true, false, {std::string(kSessionRow)}, "1 of 1 Sessions, 0 of 1 Failed Attempts"},
        {false, true, {std::string(kAttemptRow)}, "0 of 1 Sessions, 1 of 1 Failed Attempts"},
        {true,
         true,
         {std::string(kSessionRow), std::string(kAttemptRow)},
         "1 Sessions, 1 Failed Attempts"},
    };
    for (const Case& c : cases) {
        check("DroppedCheck", c.dropped);
        check("FailedCheck", c.failed);
        EXPECT_EQ(shownRows(), c.rows) << c.dropped << c.failed;
        EXPECT_EQ(statusLabel()->text(), QString::fromLatin1(c.status)) << c.dropped << c.failed;
    }
    // A duration range reads the pppd table's durations too.
    check("DroppedCheck", false);
    check("FailedCheck", false);
    check("MaxDurationCheck", true);  // at most an hour
    check("MinDurationCheck", true);  // at least a minute
    EXPECT_EQ(shownRows(), std::vector<std::string>{std::string(kSessionRow)});
}

TEST_F(PppdLogWindow, SaveTableAsWritesTheTabSeparatedTableWithItsHeader) {
    start();
    open(writePppdLog(kPppdLog));
    const std::string saved = windows.file("sessions.tsv");
    platform.fileDialogAnswers.push_back(saved);
    platform.dialogAnswers.push_back(DialogResult::Yes);  // with the header
    action("SaveAs1")->trigger();
    EXPECT_EQ(readFile(saved),
              "Start Time\tEnd Time\tDuration\tPID\tInterface\tDevice\tAuth\tPeer\tLocal IP\t"
              "Remote IP\tPrimary DNS\tSecondary DNS\tConnect Time\tBytes Sent\tBytes Received\t"
              "Ended By\tReason\r\n" +
                  std::string(kSessionRow) + "\r\n" + std::string(kAttemptRow) + "\r\n");
}

TEST_F(PppdLogWindow, FollowAddsTheSessionsTheLogGainsAndReloadKeepsThem) {
    start();
    const std::string path = writePppdLog(kPppdLog);
    open(path);
    action("Follow1")->trigger();
    {
        std::ofstream(path, std::ios::binary | std::ios::app)
            << "Dec  1 12:00:00 host pppd[300]: Connect: ppp1 <--> eth0\n";
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->model()->rowCount() == 3; }, 3000));
    EXPECT_EQ(cell(2, 4), QStringLiteral("ppp1"));
    EXPECT_EQ(cell(2, 15), QStringLiteral("still up"));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("2 Sessions, 1 Failed Attempts"));
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{});

    // Its end comes in two pieces, the first without its line end.
    {
        std::ofstream(path, std::ios::binary | std::ios::app)
            << "Dec  1 12:10:00 host pppd[300]: Connection termin";
    }
    main->followLog();
    { std::ofstream(path, std::ios::binary | std::ios::app) << "ated.\n"; }
    main->followLog();
    EXPECT_EQ(cell(2, 1), QStringLiteral("12-01-2026 12:10:00"));
    EXPECT_EQ(cell(2, 15), QStringLiteral("unknown"));

    action("Follow1")->trigger();
    action("Reload1")->trigger();
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(cell(2, 1), QStringLiteral("12-01-2026 12:10:00"));
}

TEST_F(PppdLogWindow, SeveralFilesChosenDroppedOrNamedAreReadAsOneLogInTheirOrder) {
    const std::size_t split = kPppdLog.find("Dec  1 11:00:00");
    const std::string older = writePppdLog(kPppdLog.substr(0, split));
    const std::string newer = windows.write("syslog.0", kPppdLog.substr(split));
    std::filesystem::rename(older, windows.file("syslog.1"));
    const std::string rotated = windows.file("syslog.1");
    const std::vector<std::string> bothRows = {std::string(kSessionRow), std::string(kAttemptRow)};

    start();
    open(newer + "\n" + rotated);  // the newer first: read after the older all the same
    EXPECT_EQ(shownRows(), bothRows);
    EXPECT_EQ(main->windowTitle(),
              QString::fromStdString("Kestal File Viewer - " + newer + " and 1 more"));
    EXPECT_FALSE(action("Clear1")->isEnabled());

    // Recent Logs keeps them as one entry, named by the newest file, that
    // reads them all again.
    EXPECT_EQ(filesOfRecentEntry(RecentLogs().paths().at(0)),
              (std::vector<std::string>{rotated, newer}));
    open(newer);
    EXPECT_NE(shownRows(), bothRows);
    QAction* joined = menu("RecentLogs1")->actions().at(1);
    EXPECT_EQ(joined->text(), QString::fromStdString("&2 " + newer + " + 1 more"));
    joined->trigger();
    EXPECT_EQ(shownRows(), bothRows);
    EXPECT_EQ(RecentLogs().paths().at(0), recentEntryOf({rotated, newer}));

    main.reset();
    createWindows();
    showMain();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(newer)),
                  QUrl::fromLocalFile(QString::fromStdString(rotated))});
    const QPoint at = main->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.get(), &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->model()->rowCount() == 2; }, 3000));
    EXPECT_EQ(shownRows(), bothRows);

    main =
        std::make_unique<MainWindow>(platform, nullptr, std::vector<std::string>{newer, rotated});
    EXPECT_EQ(shownRows(), bothRows);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{});

    // A compressed rotated log cut short: what it holds, and one warning.
    platform.dialogs.clear();
    if (std::system(("gzip -n -f '" + rotated + "'").c_str()) != 0) GTEST_SKIP() << "no gzip";
    const std::string compressed = rotated + ".gz";
    std::filesystem::resize_file(compressed, std::filesystem::file_size(compressed) - 12);
    open(compressed + "\n" + newer);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].type, DialogType::Warning);
    EXPECT_TRUE(platform.dialogs[0].text.starts_with("Some logs end early"));
    EXPECT_EQ(shownRows().back(), std::string(kAttemptRow));
}

TEST_F(PppdLogWindow, ReadsARealBusyBoxLogWithAnOpenSession) {
    const std::filesystem::path real = std::filesystem::path(KESTAL_REAL_PPPD_DIR) /
                                       "14-vintagenet-2018-lte-huawei-ttyUSB0-busybox-syslog.log";
    if (!std::filesystem::exists(real)) GTEST_SKIP() << "no " << real;
    start();
    open(writePppdLog(readFile(real)));
    ASSERT_EQ(main->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("01-01-2026 00:55:32"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("-"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("213"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("ppp0"));
    EXPECT_EQ(cell(0, 5), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(cell(0, 8), QStringLiteral("26.35.123.110"));
    EXPECT_EQ(cell(0, 9), QStringLiteral("10.64.64.64"));
    EXPECT_EQ(cell(0, 10), QStringLiteral("10.177.0.34"));
    EXPECT_EQ(cell(0, 11), QStringLiteral("10.177.0.210"));
    EXPECT_EQ(cell(0, 15), QStringLiteral("still up"));
    EXPECT_TRUE(statusLabel()->text().startsWith(QStringLiteral("1 Sessions, 0 Failed Attempts")));
}

}  // namespace
}  // namespace kestal::testing
