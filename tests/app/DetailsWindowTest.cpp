// Show Call Details from each of its triggers, and the details window.
#include <QAction>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "AppFixture.h"

namespace kestal::testing {
namespace {

const QString kFirstCall = QStringLiteral(
    "12-01-2026 09:12:04.30 - Remote access driver log opened.\n"
    "12-01-2026 09:12:05.30 - LCP : Layer up\n"
    "12-01-2026 09:12:06.60 - IPCP : Negotiated IP address of c0a80101 (192.168.1.1)\n"
    "12-01-2026 09:22:41.10 - Remote access driver log closed.");
const QString kSecondCall = QString::fromLatin1(
    "12-02-2026 13:59:04.00 - Remote access driver log opened.\n"
    "12-02-2026 13:59:05.00 - Caf\xe9 au lait\n"
    "12-02-2026 14:19:41.00 - Remote access driver log closed.");

class DetailsWindow : public AppTest {
protected:
    void SetUp() override {
        writeLog(kThreeCallLog);
        createWindows();
        showMain();
    }
    // The details window's widgets.
    QPlainTextEdit* detailsText() const { return child<QPlainTextEdit>(*details, "Memo1"); }
    QPushButton* closeButton() const { return child<QPushButton>(*details, "Button1"); }
    QPushButton* printButton() const { return child<QPushButton>(*details, "Button2"); }
    void selectRow(int modelRow) { grid()->selectRow(modelRow); }
    QPoint cellCentre(int modelRow) const {
        return grid()->visualRect(grid()->model()->index(modelRow, 2)).center();
    }
    void expectShown(const QString& text) {
        EXPECT_TRUE(details->isVisible());
        EXPECT_TRUE(detailsText()->isVisible());
        EXPECT_EQ(detailsText()->toPlainText(), text);
        EXPECT_EQ(details->focusWidget(), closeButton());
        EXPECT_FALSE(platform.busy());
    }
    void reset() {
        details->hide();
        details->clearLines();
    }
};

TEST_F(DetailsWindow, EveryTriggerShowsTheSelectedCall) {
    struct Trigger {
        const char* name;
        std::function<void()> run;
    };
    CallGrid* grid = AppTest::grid();
    const std::vector<Trigger> triggers = {
        {"Enter", [&] { QTest::keyClick(grid, Qt::Key_Return); }},
        {"Shift+Ctrl+Enter",
         [&] { QTest::keyClick(grid, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier); }},
        {"Alt+keypad Enter",
         [&] { QTest::keyClick(grid, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier); }},
        {"Call menu", [&] { action("ShowCallDetails2")->trigger(); }},
        {"context menu", [&] { action("ShowCallDetails1")->trigger(); }},
        {"double click on the row",
         [&] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(1)); }},
        {"double click on the title row",
         [&] {
             QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                QPoint(30, 8));
         }},
        {"double click on a title border",
         [&] {
             const int border = grid->columnWidth(0) - 1;
             QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                QPoint(border, 8));
         }},
    };
    for (const Trigger& trigger : triggers) {
        SCOPED_TRACE(trigger.name);
        reset();
        selectRow(1);
        trigger.run();
        expectShown(kSecondCall);
        EXPECT_EQ(main->selectedRow(), 1);
    }
    EXPECT_EQ(grid->columnWidth(0), kDialUpColumns[0].width);  // no fit-to-contents
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(DetailsWindow, SecondRunRefillsTheSameWindow) {
    platform.cursorChanges.clear();
    main->showCallDetails();
    expectShown(kFirstCall);
    selectRow(1);
    main->showCallDetails();
    expectShown(kSecondCall);
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows += qobject_cast<CallDetailsWindow*>(widget) != nullptr;
    EXPECT_EQ(windows, 1);
    // Closed and opened again: the same lines, written afresh.
    closeButton()->click();
    EXPECT_FALSE(details->isVisible());
    main->showCallDetails();
    expectShown(kSecondCall);
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(DetailsWindow, RightClickThenContextMenuActsOnTheRowUnderThePointer) {
    CallGrid* grid = AppTest::grid();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cellCentre(1));
    action("ShowCallDetails1")->trigger();
    expectShown(kSecondCall);
}

TEST_F(DetailsWindow, WindowLayout) {
    EXPECT_EQ(details->windowTitle(), QStringLiteral("Kestal File Viewer"));
    EXPECT_FALSE(details->isModal());
    EXPECT_EQ(details->size(), QSize(564, 273));
    EXPECT_EQ(details->minimumSize(), details->maximumSize());
    EXPECT_EQ(details->pos(), QPoint(56, 134));
    EXPECT_FALSE(details->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(details->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(closeButton()->geometry(), QRect(457, 232, 89, 33));
    EXPECT_EQ(printButton()->geometry(), QRect(353, 232, 89, 33));
    EXPECT_EQ(detailsText()->geometry(), QRect(17, 20, 528, 197));
    EXPECT_EQ(closeButton()->text(), QStringLiteral("&Close"));
    EXPECT_EQ(printButton()->text(), QStringLiteral("&Print"));
    EXPECT_TRUE(closeButton()->font().bold());
    EXPECT_EQ(closeButton()->font().pixelSize(), 13);
    EXPECT_TRUE(closeButton()->isDefault());
    EXPECT_TRUE(detailsText()->isReadOnly());
    EXPECT_EQ(detailsText()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(detailsText()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(detailsText()->font().pixelSize(), 11);
    EXPECT_EQ(detailsText()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(detailsText()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(detailsText()->toPlainText(), QStringLiteral("Memo1"));
    // Tab order: Close, the text box, Print.
    auto nextTabStop = [](QWidget* widget) {
        do widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    };
    EXPECT_EQ(nextTabStop(closeButton()), detailsText());
    EXPECT_EQ(nextTabStop(detailsText()), printButton());
    EXPECT_EQ(nextTabStop(printButton()), closeButton());
}

TEST_F(DetailsWindow, EnterAndEscCloseFromTheButtonsButNotFromTheTextBox) {
    struct Case {
        const char* name;
        int key;
        const char* focus;  // the widget's object name
        bool closes;
    };
    const Case cases[] = {
        {"Esc on Close", Qt::Key_Escape, "Button1", true},
        {"Enter on Close", Qt::Key_Return, "Button1", true},
        {"Esc on Print", Qt::Key_Escape, "Button2", true},
        {"Enter on Print", Qt::Key_Return, "Button2", true},
        {"Esc in the text box", Qt::Key_Escape, "Memo1", false},
        {"Enter in the text box", Qt::Key_Return, "Memo1", false},
        {"keypad Enter in the text box", Qt::Key_Enter, "Memo1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main->showCallDetails();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(details.get()));
        QWidget* target = child<QWidget>(*details, c.focus);
        target->setFocus();
        QTest::keyClick(target, static_cast<Qt::Key>(c.key));
        EXPECT_EQ(details->isVisible(), !c.closes);
        EXPECT_EQ(detailsText()->toPlainText(), kFirstCall);  // never edited
        EXPECT_TRUE(platform.fakePrinter.jobs.empty());
        details->hide();
    }
}

TEST_F(DetailsWindow, TextBoxCannotBeChangedAndDoesNotWrap) {
    const std::string longLine = "12-01-2026 09:12:04.30 - " + std::string(400, 'x');
    details->setLines({"12-01-2026 09:12:04.30 - Remote access driver log opened.", longLine});
    details->showDetails();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(details.get()));
    detailsText()->setFocus();
    QTest::keyClicks(detailsText(), "abc");
    QTest::keyClick(detailsText(), Qt::Key_Delete);
    EXPECT_EQ(detailsText()->blockCount(), 2);
    EXPECT_EQ(detailsText()->toPlainText().toStdString(),
              "12-01-2026 09:12:04.30 - Remote access driver log opened.\n" + longLine);
    EXPECT_GT(detailsText()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(DetailsWindow, PrintSendsTheLinesAsTheLogsOwnBytes) {
    selectRow(1);
    main->showCallDetails();
    printButton()->click();
    ASSERT_EQ(platform.fakePrinter.jobs.size(), 1u);
    EXPECT_EQ(
        platform.fakePrinter.jobs[0].lines,
        (std::vector<std::string>{"12-02-2026 13:59:04.00 - Remote access driver log opened.",
                                  "12-02-2026 13:59:05.00 - Caf\xe9 au lait",
                                  "12-02-2026 14:19:41.00 - Remote access driver log closed."}));
    EXPECT_TRUE(platform.fakePrinter.jobs[0].closed);
    EXPECT_TRUE(details->isVisible());
}

TEST_F(DetailsWindow, PrintFailureIsReportedAndTheWindowStays) {
    main->showCallDetails();
    platform.fakePrinter.hasDefaultPrinter = false;
    printButton()->click();
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].kind, DialogRecord::Kind::ErrorReport);
    EXPECT_TRUE(details->isVisible());
}

TEST_F(DetailsWindow, EmptyRowGivesAnEmptyBoxInAVisibleWindow) {
    const std::string empty = windows.write("empty.txt", "");
    platform.fileDialogAnswers.push_back(empty);
    main->openLog();
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Return);
    expectShown(QString());
    EXPECT_TRUE(details->lines().empty());
}

TEST_F(DetailsWindow, ManyLinesFillInOneGo) {
    std::vector<std::string> lines(50000, std::string("12-01-2026 09:12:04.30 - FSA : line"));
    details->setLines(lines);
    EXPECT_EQ(detailsText()->blockCount(), 50000);
    EXPECT_EQ(details->lines(), lines);
}

}  // namespace
}  // namespace kestal::testing
