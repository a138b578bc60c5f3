// The scripted platform that tests, benchmarks and fuzzers share: queued
// answers for dialogs, and a record of every dialog, cursor change, event
// pump, beep and print job the program made; its printer keeps the jobs.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/TextPrinter.h"

namespace kestal::testing {

struct DialogRecord {
    enum class Kind { MessageDlg, PlainMessage, ErrorReport };
    Kind kind = Kind::MessageDlg;
    std::string text;
    DialogType type = DialogType::Warning;
    DialogButtons buttons = DialogButtons::Ok;
    bool mainWindowVisible = false;
};

struct PrintJob {
    std::string fontName;
    std::vector<std::string> lines;
    bool closed = false;
};

// Records print jobs instead of printing.
class FakeTextPrinter : public TextPrinter {
public:
    void open() override;
    void setFontName(std::string_view name) override;
    std::string fontName() const override { return font_; }
    void writeLine(std::string_view text) override;
    void close() override;

    bool hasDefaultPrinter = true;
    std::vector<PrintJob> jobs;

private:
    std::string font_ = "MS Sans Serif";
};

class FakePlatform : public Platform {
public:
    // Answers, taken in order. An unanswered Yes/No question gets
    // unansweredQuestion (No unless told), an unanswered file dialog is
    // cancelled.
    std::deque<DialogResult> dialogAnswers;
    DialogResult unansweredQuestion = DialogResult::No;
    // (Several files chosen at once: their paths in one answer, separated
    // by line feeds.)
    std::deque<std::optional<std::string>> fileDialogAnswers;

    // What happened.
    std::vector<DialogRecord> dialogs;
    std::vector<FileDialog> fileDialogsShown;  // as they were when shown
    std::vector<bool> cursorChanges;           // true = busy
    int pumpCount = 0;
    int closeMainWindowCount = 0;
    int beepCount = 0;
    std::string clipboard;

    // Settings the test controls.
    RegionalSettings settings;
    DateTime clock{2026, 12, 6, 15, 5, 9};
    std::function<std::string(const DateTime&)> longTimeFormatter;  // default hh:mm:ss
    std::optional<std::string> windowsDir;    // nothing: there is no Windows directory
    std::function<bool()> mainWindowVisible;  // for DialogRecord
    std::function<void()> onProcessMessages;  // runs inside processMessages
    std::function<void()> onCloseMainWindow;
    FakeTextPrinter fakePrinter;

    bool busy() const { return busy_; }
    // Texts of all dialogs of any kind, in order.
    std::vector<std::string> dialogTexts() const;

    DialogResult messageDlg(std::string_view text, DialogType type, DialogButtons buttons) override;
    void showMessage(std::string_view text) override;
    void showErrorReport(std::string_view text) override;
    bool executeFileDialog(FileDialog& dialog) override;
    void setBusyCursor(bool busy) override;
    void processMessages() override;
    RegionalSettings regionalSettings() override { return settings; }
    std::string longTimeText(const DateTime& time) override;
    DateTime now() override { return clock; }
    TextPrinter& printer() override { return fakePrinter; }
    void closeMainWindow() override;
    void setClipboardText(std::string_view text) override { clipboard = std::string(text); }
    void beep() override { ++beepCount; }
    std::optional<std::string> windowsDirectory() override { return windowsDir; }

private:
    void record(DialogRecord::Kind kind, std::string_view text, DialogType type,
                DialogButtons buttons);
    bool busy_ = false;
};

}  // namespace kestal::testing
