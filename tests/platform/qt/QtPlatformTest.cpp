// The Qt platform: its message boxes, file dialogs, cursor, event pump,
// printer and the Windows directory.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "platform/TextPrinter.h"
#include "platform/qt/QtPlatform.h"
#include "support/TempDir.h"

// Readable failure messages for Qt strings.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kestal {
namespace {

using testing::TempDir;

// One application for the whole test program, headless, made before the
// first test and gone before the program's static objects go (a static
// QApplication crashes at exit).
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[17] = "test_platform_qt";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// gtest owns the environment.
::testing::Environment* const applicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

QAbstractButton* buttonWithText(QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons())
        if (button->text() == text) return button;
    return nullptr;
}

QStringList buttonTexts(QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

void pressEscape(QWidget& widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

// What a message box looked like when it was shown.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
    Qt::TextFormat format = Qt::AutoText;
};

class QtPlatformTest : public ::testing::Test {
protected:
    // Answers every message box with answer(box) after noting its look.
    void answerBoxes(std::function<void(QMessageBox&)> answer) {
        platform_.setDialogRunner([this, answer](QDialog& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            box.show();
            seen_.push_back(SeenBox{box.windowTitle(), box.text(), box.icon(), buttonTexts(box),
                                    box.defaultButton() ? box.defaultButton()->text() : QString(),
                                    box.escapeButton() ? box.escapeButton()->text() : QString(),
                                    box.textFormat()});
            answer(box);
            box.hide();
            return box.result();
        });
    }

    QtPlatform platform_;
    std::vector<SeenBox> seen_;
};

TEST_F(QtPlatformTest, MessageDialogsTakeCaptionAndIconFromTheirType) {
    answerBoxes([](QMessageBox& box) { box.defaultButton()->click(); });
    const struct {
        DialogType type;
        QString caption;
        QMessageBox::Icon icon;
    } cases[] = {
        {DialogType::Warning, "Warning", QMessageBox::Warning},
        {DialogType::Error, "Error", QMessageBox::Critical},
        {DialogType::Information, "Information", QMessageBox::Information},
        {DialogType::Confirmation, "Confirm", QMessageBox::Question},
    };
    for (const auto& c : cases) {
        seen_.clear();
        EXPECT_EQ(platform_.messageDlg("<b>text</b>", c.type, DialogButtons::Ok), DialogResult::Ok);
        ASSERT_EQ(seen_.size(), 1u);
        EXPECT_EQ(seen_[0].caption, c.caption);
        EXPECT_EQ(seen_[0].icon, c.icon);
        EXPECT_EQ(seen_[0].text, "<b>text</b>");
        EXPECT_EQ(seen_[0].format, Qt::PlainText);
        EXPECT_EQ(seen_[0].buttons, QStringList{"OK"});
        EXPECT_EQ(seen_[0].defaultButton, "OK");
        EXPECT_EQ(seen_[0].escapeButton, "OK");
    }
}

TEST_F(QtPlatformTest, YesNoQuestionsCountOnlyYesAsYes) {
    const struct {
        const char* how;
        std::function<void(QMessageBox&)> answer;
        DialogResult result;
    } cases[] = {
        {"Yes", [](QMessageBox& box) { buttonWithText(box, "&Yes")->click(); }, DialogResult::Yes},
        {"Enter on the default", [](QMessageBox& box) { box.defaultButton()->click(); },
         DialogResult::Yes},
        {"No", [](QMessageBox& box) { buttonWithText(box, "&No")->click(); }, DialogResult::No},
        {"Esc", [](QMessageBox& box) { pressEscape(box); }, DialogResult::No},
        {"closed", [](QMessageBox& box) { box.close(); }, DialogResult::No},
    };
    for (const auto& c : cases) {
        seen_.clear();
        answerBoxes(c.answer);
        EXPECT_EQ(platform_.messageDlg("Are Sure?", DialogType::Warning, DialogButtons::YesNo),
                  c.result)
            << c.how;
        ASSERT_EQ(seen_.size(), 1u);
        EXPECT_EQ(seen_[0].buttons, (QStringList{"&No", "&Yes"}));
        EXPECT_EQ(seen_[0].defaultButton, "&Yes");
        EXPECT_EQ(seen_[0].escapeButton, "&No");
    }
}

TEST_F(QtPlatformTest, OkDialogsAnswerOkHoweverTheyAreClosed) {
    for (const auto& answer : std::vector<std::function<void(QMessageBox&)>>{
             [](QMessageBox& box) { pressEscape(box); }, [](QMessageBox& box) { box.close(); }}) {
        answerBoxes(answer);
        EXPECT_EQ(platform_.messageDlg("x", DialogType::Error, DialogButtons::Ok),
                  DialogResult::Ok);
    }
}

// A warning can come from work that runs while another box waits for its
// answer: it gets a box of its own, and the waiting box keeps its text.
TEST_F(QtPlatformTest, ABoxAskedForWhileOneIsUpLeavesThatOneAsItWas) {
    QString waitingText;
    QMessageBox* waitingBox = nullptr;
    QMessageBox* innerBox = nullptr;
    answerBoxes([&](QMessageBox& box) {
        if (waitingBox == nullptr) {
            waitingBox = &box;
            platform_.showErrorReport("Disk full.");
            waitingText = box.text();
        } else {
            innerBox = &box;
        }
        box.defaultButton()->click();
    });
    EXPECT_EQ(platform_.messageDlg("Corrupt call", DialogType::Warning, DialogButtons::Ok),
              DialogResult::Ok);
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_NE(innerBox, waitingBox);
    EXPECT_EQ(seen_[1].text, "Disk full.");
    EXPECT_EQ(seen_[1].icon, QMessageBox::Critical);
    EXPECT_EQ(waitingText, "Corrupt call");
    EXPECT_EQ(waitingBox->icon(), QMessageBox::Warning);
    EXPECT_EQ(waitingBox->windowTitle(), "Warning");

    // Later boxes show their own text again, whichever box they are.
    seen_.clear();
    platform_.showMessage("Done");
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].text, "Done");
    EXPECT_EQ(seen_[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen_[0].buttons, QStringList{"OK"});
}

TEST_F(QtPlatformTest, PlainMessageAndErrorReportCarryTheProgramTitle) {
    answerBoxes([](QMessageBox& box) { box.defaultButton()->click(); });
    platform_.showMessage("Fatal error: Can't find Windows Directory");
    platform_.showErrorReport("Disk full.");
    ASSERT_EQ(seen_.size(), 2u);
    // The test program's own name stands in for the viewer's; its first
    // letter stays as stored.
    EXPECT_EQ(platform_.title(), "test_platform_qt");
    for (const SeenBox& box : seen_) {
        EXPECT_EQ(box.caption, "test_platform_qt");
        EXPECT_EQ(box.buttons, QStringList{"OK"});
    }
    EXPECT_EQ(seen_[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen_[0].text, "Fatal error: Can't find Windows Directory");
    EXPECT_EQ(seen_[1].icon, QMessageBox::Critical);
    EXPECT_EQ(seen_[1].text, "Disk full.");
}

TEST(DialogText, ReadsUtf8AndFallsBackToLatin1) {
    EXPECT_EQ(dialogText("Cannot create file /home/j\xC3\xBCrgen/x.txt"),
              QString::fromUtf8("Cannot create file /home/j\xC3\xBCrgen/x.txt"));
    EXPECT_EQ(dialogText("caf\xE9"), QString::fromLatin1("caf\xE9"));
    EXPECT_EQ(dialogText("one\r\ntwo\rthree\nfour"), "one\ntwo\nthree\nfour");
}

class QtFileDialogTest : public QtPlatformTest {
protected:
    // Runs every file dialog through answer after noting its set-up.
    void answerFileDialogs(std::function<int(QFileDialog&)> answer) {
        platform_.setDialogRunner([this, answer](QDialog& dialog) {
            auto& box = dynamic_cast<QFileDialog&>(dialog);
            shown_ = Shown{};
            if (auto* types = box.findChild<QComboBox*>("fileTypeCombo"))
                for (int i = 0; i < types->count(); ++i) shown_.typeLabels << types->itemText(i);
            shown_.directory = box.directory().absolutePath();
            shown_.suffix = box.defaultSuffix();
            shown_.save = box.acceptMode() == QFileDialog::AcceptSave;
            shown_.confirmsOverwrite = !box.testOption(QFileDialog::DontConfirmOverwrite);
            shown_.selected = box.selectedFiles();
            return answer(box);
        });
    }

    struct Shown {
        QStringList typeLabels;
        QString directory;
        QString suffix;
        bool save = false;
        bool confirmsOverwrite = false;
        QStringList selected;
    } shown_;
    TempDir dir_;
};

TEST_F(QtFileDialogTest, SaveDialogShowsTheLabelsAddsTheExtensionAndReturnsTheFullPath) {
    const QString folder = QString::fromStdString(dir_.path().string());
    answerFileDialogs([&](QFileDialog& box) {
        box.setDirectory(folder);
        box.selectFile("calls");
        static_cast<QDialog&>(box).accept();  // QFileDialog::accept is protected
        return box.result();
    });
    FileDialog save;
    save.kind = FileDialog::Kind::Save;
    save.filter = "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv";
    save.overwritePrompt = true;
    save.hideReadOnly = true;
    ASSERT_TRUE(platform_.executeFileDialog(save));
    EXPECT_EQ(save.fileName, dir_.file("calls.txt"));
    EXPECT_EQ(shown_.typeLabels,
              (QStringList{"Text (*.txt)", "Text & Tabs (*.tsv)", "Text & Commas (*.csv)"}));
    EXPECT_EQ(shown_.suffix, "txt");
    EXPECT_TRUE(shown_.save);
    EXPECT_TRUE(shown_.confirmsOverwrite);

    save.overwritePrompt = false;
    ASSERT_TRUE(platform_.executeFileDialog(save));
    EXPECT_FALSE(shown_.confirmsOverwrite);
}

TEST_F(QtFileDialogTest, OpenDialogStartsInTheInitialFolderWithTheLastName) {
    const std::string log = dir_.write("ppplog.txt", "x\r\n");
    answerFileDialogs([&](QFileDialog& box) {
        static_cast<QDialog&>(box).accept();  // QFileDialog::accept is protected
        return box.result();
    });
    FileDialog open;
    open.kind = FileDialog::Kind::Open;
    open.filter = "Text (*.txt)|*.txt";
    open.initialDir = dir_.path().string();
    open.fileName = "ppplog.txt";
    ASSERT_TRUE(platform_.executeFileDialog(open));
    EXPECT_FALSE(shown_.save);
    EXPECT_EQ(shown_.directory.toStdString(), dir_.path().string());
    EXPECT_EQ(shown_.typeLabels, QStringList{"Text (*.txt)"});
    EXPECT_EQ(open.fileName, log);
}

TEST_F(QtFileDialogTest, CancelLeavesTheDialogAsItWas) {
    answerFileDialogs([](QFileDialog& box) {
        box.reject();
        return box.result();
    });
    FileDialog open;
    open.fileName = "/earlier/choice.txt";
    EXPECT_FALSE(platform_.executeFileDialog(open));
    EXPECT_EQ(open.fileName, "/earlier/choice.txt");
}

TEST_F(QtPlatformTest, BusyCursorPairsUp) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    platform_.setBusyCursor(true);
    platform_.setBusyCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    platform_.setBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    platform_.setBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtPlatformTest, ClosingTheMainWindowClosesTheOneGiven) {
    QWidget main;
    QWidget other;
    main.show();
    other.show();
    platform_.setMainWindow(&main);
    platform_.closeMainWindow();
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(other.isVisible());
}

TEST_F(QtPlatformTest, ProcessMessagesDeliversPostedEvents) {
    bool delivered = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { delivered = true; }, Qt::QueuedConnection);
    platform_.processMessages();
    EXPECT_TRUE(delivered);
}

TEST_F(QtPlatformTest, ThePrinterIsOneObjectForTheRun) {
    TextPrinter& first = platform_.printer();
    EXPECT_EQ(&platform_.printer(), &first);
}

TEST_F(QtPlatformTest, TheWindowsDirectoryIsTheOneFoundOnThisSystem) {
    const char* old = std::getenv("WINDIR");
    const std::string saved = old ? old : "";
    ::setenv("WINDIR", "/srv/windows", 1);
    const std::optional<std::string> directory = platform_.windowsDirectory();
    if (old)
        ::setenv("WINDIR", saved.c_str(), 1);
    else
        ::unsetenv("WINDIR");
    EXPECT_EQ(directory, "/srv/windows");
}

}  // namespace
}  // namespace kestal
