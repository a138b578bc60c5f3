// The platform on Qt Widgets: message boxes, file dialogs, cursor, clipboard.
#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "platform/FileFilters.h"
#include "platform/Locale.h"
#include "platform/ProgramTitle.h"
#include "platform/TextPrinter.h"
#include "platform/WindowsDirectory.h"
#include "platform/qt/QtTextPrinter.h"
#include "platform/qt/TranslatedText.h"

namespace kestal {

namespace {

QMessageBox::Icon iconFor(DialogType type) {
    switch (type) {
        case DialogType::Warning:
            return QMessageBox::Warning;
        case DialogType::Error:
            return QMessageBox::Critical;
        case DialogType::Information:
            return QMessageBox::Information;
        case DialogType::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString fromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A box without parent: Qt centres it on the screen. The text is shown as
// it is, never read as HTML.
void setUpBox(QMessageBox& box, const QString& caption, QMessageBox::Icon icon,
              std::string_view text) {
    box.setWindowTitle(caption);
    box.setIcon(icon);
    box.setTextFormat(Qt::PlainText);
    box.setText(dialogText(text));
}

// One "OK" button, the default, also answering Esc and closing the box.
void addOkButton(QMessageBox& box) {
    QPushButton* ok = box.addButton(QCoreApplication::translate("kestal::Messages", "OK"),
                                    QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
}

}  // namespace

QString dialogText(std::string_view bytes) {
    QString text = translatedText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QtPlatform::QtPlatform() : runDialog_([](QDialog& dialog) { return dialog.exec(); }) {}

QtPlatform::~QtPlatform() {
    if (busy_) QApplication::restoreOverrideCursor();
}

std::string QtPlatform::title() const {
    return programTitle(
        QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
            .toStdString());
}

void QtPlatform::showOkBox(const QString& caption, QMessageBox::Icon icon, std::string_view text) {
    // The box answered last is shown again: a log with thousands of corrupt
    // calls gives as many warnings in a row, and building a box takes longer
    // than filling one in. A box asked for while that one is up (a warning
    // from work its modal loop ran) gets one of its own.
    std::unique_ptr<QMessageBox> own;
    if (okBox_ == nullptr) {
        okBox_ = std::make_unique<QMessageBox>();
        addOkButton(*okBox_);
    }
    QMessageBox* box = okBox_.get();
    if (box->isVisible()) {
        own = std::make_unique<QMessageBox>();
        box = own.get();
        addOkButton(*box);
    }
    setUpBox(*box, caption, icon, text);
    runDialog_(*box);
}

DialogResult QtPlatform::messageDlg(std::string_view text, DialogType type, DialogButtons buttons) {
    if (buttons == DialogButtons::Ok) {
        showOkBox(translatedText(dialogCaption(type)), iconFor(type), text);
        return DialogResult::Ok;
    }
    QMessageBox box;
    setUpBox(box, translatedText(dialogCaption(type)), iconFor(type), text);
    QPushButton* yes = box.addButton(QCoreApplication::translate("kestal::Messages", "&Yes"),
                                     QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(QCoreApplication::translate("kestal::Messages", "&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    // Esc and closing the box both press the escape button.
    box.setEscapeButton(no);
    runDialog_(box);
    return box.clickedButton() == yes ? DialogResult::Yes : DialogResult::No;
}

void QtPlatform::showMessage(std::string_view text) {
    showOkBox(fromBytes(title()), QMessageBox::NoIcon, text);
}

void QtPlatform::showErrorReport(std::string_view text) {
    showOkBox(fromBytes(title()), QMessageBox::Critical, text);
}

bool QtPlatform::executeFileDialog(FileDialog& dialog) {
    // Qt's own dialog everywhere, so that the labels, the default extension
    // and the overwrite question behave the same on every desktop.
    QFileDialog box;
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setOption(QFileDialog::HideNameFilterDetails);
    const bool save = dialog.kind == FileDialog::Kind::Save;
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save              ? QFileDialog::AnyFile
                    : dialog.multiple ? QFileDialog::ExistingFiles
                                      : QFileDialog::ExistingFile);
    if (save) box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.overwritePrompt);
    // Qt's dialog has no read-only check box, so hideReadOnly asks nothing.

    QStringList filters;
    // The filter's labels in the user's language, the patterns as they are.
    for (const std::string& filter : qtNameFilters(translatedText(dialog.filter).toStdString()))
        filters << fromBytes(filter);
    if (!filters.isEmpty()) box.setNameFilters(filters);
    box.setDefaultSuffix(fromBytes(dialog.defaultExt));
    if (!dialog.initialDir.empty()) box.setDirectory(QFile::decodeName(dialog.initialDir.c_str()));
    if (!dialog.fileName.empty()) box.selectFile(QFile::decodeName(dialog.fileName.c_str()));

    if (runDialog_(box) != QDialog::Accepted) return false;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
    dialog.fileName = QFile::encodeName(chosen.first()).toStdString();
    dialog.fileNames.clear();
    for (const QString& path : chosen)
        dialog.fileNames.push_back(QFile::encodeName(path).toStdString());
    return true;
}

void QtPlatform::setBusyCursor(bool busy) {
    // On and off pair up however often the callers ask.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtPlatform::processMessages() { QCoreApplication::processEvents(); }

RegionalSettings QtPlatform::regionalSettings() { return localeRegionalSettings(); }

std::string QtPlatform::longTimeText(const DateTime& time) { return localeLongTimeText(time); }

DateTime QtPlatform::now() { return localNow(); }

TextPrinter& QtPlatform::printer() {
    if (!printer_) printer_ = createQtTextPrinter();
    return *printer_;
}

void QtPlatform::closeMainWindow() {
    if (mainWindow_)
        mainWindow_->close();
    else
        QCoreApplication::quit();
}

void QtPlatform::setClipboardText(std::string_view text) {
    // Log text is Latin-1; the clipboard hands it on as Unicode.
    QGuiApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void QtPlatform::beep() { QApplication::beep(); }

std::optional<std::string> QtPlatform::windowsDirectory() { return findWindowsDirectory(); }

}  // namespace kestal
