// The scripted platform: answers taken from the queues, everything recorded.
#include "support/FakePlatform.h"

#include <algorithm>
#include <cstdio>

#include "platform/Errors.h"

namespace kestal::testing {

void FakeTextPrinter::open() {
    if (!hasDefaultPrinter) throw noDefaultPrinter();
    jobs.push_back(PrintJob{font_, {}, false});
}

void FakeTextPrinter::setFontName(std::string_view name) {
    font_ = std::string(name);
    if (!jobs.empty() && !jobs.back().closed) jobs.back().fontName = font_;
}

void FakeTextPrinter::writeLine(std::string_view text) { jobs.back().lines.emplace_back(text); }

void FakeTextPrinter::close() { jobs.back().closed = true; }

std::vector<std::string> FakePlatform::dialogTexts() const {
    std::vector<std::string> texts;
    for (const auto& d : dialogs) texts.push_back(d.text);
    return texts;
}

void FakePlatform::record(DialogRecord::Kind kind, std::string_view text, DialogType type,
                          DialogButtons buttons) {
    dialogs.push_back(DialogRecord{kind, std::string(text), type, buttons,
                                   mainWindowVisible ? mainWindowVisible() : false});
}

DialogResult FakePlatform::messageDlg(std::string_view text, DialogType type,
                                      DialogButtons buttons) {
    record(DialogRecord::Kind::MessageDlg, text, type, buttons);
    if (buttons == DialogButtons::Ok) {
        if (!dialogAnswers.empty() && dialogAnswers.front() == DialogResult::Ok)
            dialogAnswers.pop_front();
        return DialogResult::Ok;
    }
    if (dialogAnswers.empty()) return unansweredQuestion;
    DialogResult answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

void FakePlatform::showMessage(std::string_view text) {
    record(DialogRecord::Kind::PlainMessage, text, DialogType::Information, DialogButtons::Ok);
}

void FakePlatform::showErrorReport(std::string_view text) {
    record(DialogRecord::Kind::ErrorReport, text, DialogType::Error, DialogButtons::Ok);
}

bool FakePlatform::executeFileDialog(FileDialog& dialog) {
    fileDialogsShown.push_back(dialog);
    if (fileDialogAnswers.empty()) return false;
    std::optional<std::string> answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    if (!answer) return false;
    // Several files chosen at once: one answer, a path a line.
    dialog.fileNames.clear();
    for (std::size_t start = 0; start <= answer->size();) {
        const std::size_t end = std::min(answer->find('\n', start), answer->size());
        dialog.fileNames.push_back(answer->substr(start, end - start));
        start = end + 1;
    }
    dialog.fileName = dialog.fileNames.front();
    return true;
}

void FakePlatform::setBusyCursor(bool busy) {
    busy_ = busy;
    cursorChanges.push_back(busy);
}

void FakePlatform::processMessages() {
    ++pumpCount;
    if (onProcessMessages) onProcessMessages();
}

std::string FakePlatform::longTimeText(const DateTime& time) {
    if (longTimeFormatter) return longTimeFormatter(time);
    char text[32];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", time.hour, settings.timeSeparator,
                  time.minute, settings.timeSeparator, time.second);
    return text;
}

void FakePlatform::closeMainWindow() {
    ++closeMainWindowCount;
    if (onCloseMainWindow) onCloseMainWindow();
}

}  // namespace kestal::testing
