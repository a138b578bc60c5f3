// A platform that shows no message dialog: questions are answered No, the
// rest OK, and their texts are kept for the caller to sum up. Everything
// else goes to the platform it wraps. Reading a followed log again uses it:
// nobody is there to answer.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kestal {

class QuietPlatform : public Platform {
public:
    explicit QuietPlatform(Platform& shown) : shown_(shown) {}

    // The texts of the dialogs and reports not shown, in order.
    const std::vector<std::string>& unshown() const { return unshown_; }
    int count(std::string_view text) const;
    // True when an error dialog or an error report was not shown.
    bool failed() const { return failed_; }

    DialogResult messageDlg(std::string_view text, DialogType type, DialogButtons buttons) override;
    void showMessage(std::string_view text) override;
    void showErrorReport(std::string_view text) override;
    bool executeFileDialog(FileDialog& dialog) override { return shown_.executeFileDialog(dialog); }
    void setBusyCursor(bool busy) override { shown_.setBusyCursor(busy); }
    void processMessages() override { shown_.processMessages(); }
    RegionalSettings regionalSettings() override { return shown_.regionalSettings(); }
    std::string longTimeText(const DateTime& time) override { return shown_.longTimeText(time); }
    DateTime now() override { return shown_.now(); }
    TextPrinter& printer() override { return shown_.printer(); }
    void closeMainWindow() override { shown_.closeMainWindow(); }
    void setClipboardText(std::string_view text) override { shown_.setClipboardText(text); }
    void beep() override { shown_.beep(); }
    std::optional<std::string> windowsDirectory() override { return shown_.windowsDirectory(); }

private:
    Platform& shown_;
    std::vector<std::string> unshown_;
    bool failed_ = false;
};

}  // namespace kestal
