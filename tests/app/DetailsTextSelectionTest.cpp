// callLines's text is selected and copied with the keyboard as with the mouse,
// and no key changes it.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <functional>

#include "AppFixture.h"

namespace kestal::testing {
namespace {

class DetailsTextSelection : public AppTest {
protected:
    void SetUp() override {
        createWindows();
        details->setLines({"12-01-2026 09:12:04.30 - opened.", "second", "third"});
        details->showDetails();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(details.get()));
        memo = child<QPlainTextEdit>(*details, "Memo1");
        memo->setFocus();
    }
    QString selection() const { return memo->textCursor().selection().toPlainText(); }

    QPlainTextEdit* memo = nullptr;
    const QString all = QStringLiteral("12-01-2026 09:12:04.30 - opened.\nsecond\nthird");
};

TEST_F(DetailsTextSelection, KeysSelectAndCopyButChangeNothing) {
    struct Case {
        const char* name;
        std::function<void()> keys;
        QString selected;
    };
    const std::vector<Case> cases = {
        {"Shift+End", [&] { QTest::keyClick(memo, Qt::Key_End, Qt::ShiftModifier); },
         QStringLiteral("12-01-2026 09:12:04.30 - opened.")},
        {"Shift+Right twice",
         [&] {
             QTest::keyClick(memo, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(memo, Qt::Key_Right, Qt::ShiftModifier);
         },
         QStringLiteral("12")},
        {"Down, Shift+Down",
         [&] {
             QTest::keyClick(memo, Qt::Key_Down);
             QTest::keyClick(memo, Qt::Key_Down, Qt::ShiftModifier);
         },
         QStringLiteral("second\n")},
        {"Ctrl+A", [&] { QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier); }, all},
    };
    for (const Case& c : cases) {
        memo->moveCursor(QTextCursor::Start);
        c.keys();
        EXPECT_EQ(selection(), c.selected) << c.name;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.selected) << c.name;
        // The selection is no way in for typing, deleting, cutting or pasting.
        QTest::keyClicks(memo, "x");
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(memo->toPlainText(), all) << c.name;
    }
}

}  // namespace
}  // namespace kestal::testing
