// The platform on Qt Widgets: the program's dialogs, cursor and event pump,
// the process locale for regional settings, the Qt printer, the clipboard
// and the beep, and the Windows directory as WindowsDirectory.h finds it.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"

class QDialog;
class QWidget;

namespace kestal {

// Dialog text from the program's bytes: UTF-8 where the bytes are valid
// UTF-8 (paths, the program's own texts), Latin-1 otherwise (log text).
// Line ends become "\n".
QString dialogText(std::string_view bytes);

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The window whose closing ends the program (closeMainWindow).
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    // Shows a modal dialog and returns its result code; QDialog::exec()
    // unless replaced. Tests answer the dialogs here, without a modal loop.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // The program's title for the plain message box and the error report,
    // from the running executable's name.
    std::string title() const;

    DialogResult messageDlg(std::string_view text, DialogType type, DialogButtons buttons) override;
    void showMessage(std::string_view text) override;
    void showErrorReport(std::string_view text) override;
    bool executeFileDialog(FileDialog& dialog) override;
    void setBusyCursor(bool busy) override;
    void processMessages() override;
    RegionalSettings regionalSettings() override;
    std::string longTimeText(const DateTime& time) override;
    DateTime now() override;
    TextPrinter& printer() override;
    void closeMainWindow() override;
    void setClipboardText(std::string_view text) override;
    void beep() override;
    std::optional<std::string> windowsDirectory() override;

private:
    // Shows a box with its one "OK" button.
    void showOkBox(const QString& caption, QMessageBox::Icon icon, std::string_view text);

    QPointer<QWidget> mainWindow_;
    DialogRunner runDialog_;
    std::unique_ptr<TextPrinter> printer_;
    std::unique_ptr<QMessageBox> okBox_;
    bool busy_ = false;
};

}  // namespace kestal
