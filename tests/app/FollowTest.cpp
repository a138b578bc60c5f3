// View > Follow in the window: what the log gains appears without a dialog,
// the selection and the scroll position stay (or follow the last row).
#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <fstream>

#include "AppFixture.h"
#include "calls/CallScan.h"
#include "commands/Messages.h"

namespace kestal::testing {
namespace {

std::string callAt(int hour, std::string_view minute = "00") {
    const std::string time =
        (hour < 10 ? "0" : "") + std::to_string(hour) + ":" + std::string(minute);
    return "12-04-2026 " + time + ":00.00 - Remote access driver log opened.\r\n" + "12-04-2026 " +
           time + ":30.00 - Remote access driver log closed.\r\n";
}

class Follow : public AppTest {
protected:
    void append(std::string_view bytes) const {
        std::ofstream(windows.file("ppplog.txt"), std::ios::binary | std::ios::app)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    QString followStatus() const {
        const auto* status = main->findChild<QLabel*>(QStringLiteral("FollowStatus"));
        return status && !status->isHidden() ? status->text() : QString();
    }
};

TEST_F(Follow, AppendedCallsAppearByThemselvesWithoutADialog) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QAbstractItemModelTester tester(main->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    action("Follow1")->trigger();
    EXPECT_TRUE(action("Follow1")->isChecked());
    EXPECT_EQ(followStatus(), QStringLiteral("Following"));

    // One call, one whose start can't be read: no warning, a count.
    append(callAt(9) + "12-04-2026 xx:00:00.00 - Remote access driver log opened.\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->model()->rowCount() == 5; }, 3000));
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("5 Calls"));
    EXPECT_EQ(followStatus(), QStringLiteral("Following: 1 corrupted call"));
    EXPECT_EQ(main->model()->data(main->model()->index(3, 0)).toString(),
              QStringLiteral("12-04-2026 09:00:00"));

    // Off: the log grows unseen.
    action("Follow1")->trigger();
    append(callAt(10));
    QTest::qWait(700);
    EXPECT_EQ(main->model()->rowCount(), 5);
    EXPECT_TRUE(followStatus().isEmpty());
}

TEST_F(Follow, SelectionAndScrollStayUnlessTheLastRowIsSelected) {
    std::string log;
    for (int i = 0; i < 200; ++i) log += callAt(i % 24, std::to_string(10 + i % 50));
    writeLog(log);
    createWindows();
    showMain();
    action("Follow1")->trigger();
    CallGrid* grid = AppTest::grid();

    grid->selectRow(50);
    grid->verticalScrollBar()->setValue(40);
    append(callAt(1) + callAt(2));
    main->followLog();
    EXPECT_EQ(main->model()->rowCount(), 202);
    EXPECT_EQ(grid->currentIndex().row(), 50);
    EXPECT_EQ(main->selectedRow(), 50);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 40);

    grid->selectRow(201);
    append(callAt(3));
    main->followLog();
    EXPECT_EQ(grid->currentIndex().row(), 202);
    EXPECT_EQ(main->selectedRow(), 202);
    EXPECT_GT(grid->verticalScrollBar()->value(), 40);  // the new last row is in sight
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Follow, NoDialogWhileFollowingTheReloadAsksAsUsual) {
    writeLog(kThreeCallLog);
    createWindows();
    action("Follow1")->trigger();
    grid()->selectRow(1);
    // Cleared to less, without a line end at its end: read again whole.
    writeLog(std::string(kThreeCallLog.substr(kThreeCallLog.find("12-02-2026 13:59:04"))) +
             "12-05");
    main->followLog();
    EXPECT_EQ(main->model()->rowCount(), 2);
    EXPECT_EQ(grid()->currentIndex().row(), 0);  // the same call, found again
    // A NUL in what is added ends the text.
    append(std::string("\r\n") + callAt(9) + std::string("12-04-2026 10:00:00.00 - Remote\0", 32) +
           callAt(11));
    main->followLog();
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(followStatus(),
              QStringLiteral("Following: a NUL byte ends the log here, Reload reads on"));

    platform.dialogAnswers = {DialogResult::Yes};
    action("Reload1")->trigger();
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kAttemptLoadQuestion)});
    EXPECT_EQ(main->model()->rowCount(), 4);
    EXPECT_EQ(followStatus(), QStringLiteral("Following"));
}

}  // namespace
}  // namespace kestal::testing
