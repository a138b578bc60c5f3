#include "app/CallDetailsWindow.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/look/WindowLook.h"
#include "commands/Messages.h"
#include "commands/Print.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* spoken,
                        const QRect& geometry) {
    auto* button = new QPushButton(CallDetailsWindow::tr(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(CallDetailsWindow::tr(spoken));
    button->setGeometry(geometry);
    QFont font = systemFont();
    font.setBold(true);
    button->setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    // Enter presses the window's default button (Close) from either button.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CallDetailsWindow::CallDetailsWindow(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      platform_(platform) {
    setObjectName(QStringLiteral("FrmCall"));
    setWindowTitle(latin1(kProgramTitle));
    setWindowIcon(programIcon());
    setFont(systemFont());
    setModal(false);
    setFixedSize(564, 273);
    move(56, 134);

    closeButton_ = makeButton(this, "Button1", QT_TR_NOOP("&Close"), QT_TR_NOOP("Close"),
                              QRect(457, 232, 89, 33));
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &CallDetailsWindow::closeClicked);

    callLines_ = new QPlainTextEdit(this);
    callLines_->setObjectName(QStringLiteral("Memo1"));
    callLines_->setAccessibleName(tr("Lines of the call"));
    callLines_->setGeometry(17, 20, 528, 197);
    callLines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    callLines_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    callLines_->setTabChangesFocus(true);
    callLines_->setPlainText(QStringLiteral("Memo1"));
    callLines_->installEventFilter(this);

    printButton_ = makeButton(this, "Button2", QT_TR_NOOP("&Print"),
                              QT_TR_NOOP("Print the call's lines"), QRect(353, 232, 89, 33));
    connect(printButton_, &QPushButton::clicked, this, &CallDetailsWindow::printClicked);

    setTabOrder(closeButton_, callLines_);
    setTabOrder(callLines_, printButton_);

    callLines_->setReadOnly(true);
    // Read-only alone leaves selecting to the mouse; the keyboard selects
    // (Shift+arrows, Ctrl+A) and copies too, and still types nothing in.
    callLines_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    callLines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    callLines_->setFont(font8pt("Arial"));
}

void CallDetailsWindow::closeClicked() { close(); }

void CallDetailsWindow::printClicked() {
    runCommand(platform_, [this] { commands::printDetails(lines_, platform_); });
}

void CallDetailsWindow::clearLines() {
    lines_.clear();
    callLines_->clear();
}

void CallDetailsWindow::clearLinesHidden() {
    callLines_->hide();
    clearLines();
}

void CallDetailsWindow::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    // One document for all lines: appending them one by one costs a layout
    // pass each, far too slow for a long call.
    std::size_t total = 0;
    for (const std::string& line : lines_) total += line.size() + 1;
    QString text;
    text.reserve(static_cast<qsizetype>(total));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += QLatin1Char('\n');
        text += QLatin1String(lines_[i].data(), static_cast<qsizetype>(lines_[i].size()));
    }
    callLines_->setPlainText(text);
}

void CallDetailsWindow::showDetails() {
    callLines_->show();
    show();
    raise();
    activateWindow();
    closeButton_->setFocus(Qt::OtherFocusReason);
}

bool CallDetailsWindow::eventFilter(QObject* watched, QEvent* event) {
    // The text box keeps Enter and Esc for itself: they don't close the
    // window while the focus is in it.
    if (watched == callLines_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kestal
