#include "app/CallForm.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/Windows.h"
#include "output/Printouts.h"
#include "platform/Errors.h"

namespace kestal {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption,
                        const QRect& geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
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

TFrmCall::TFrmCall(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      platform_(platform) {
    FrmCall = this;
    setObjectName(QStringLiteral("FrmCall"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(programIcon());
    setFont(systemFont());
    setModal(false);
    setFixedSize(564, 273);
    move(56, 134);

    Button1 = makeButton(this, "Button1", "&Close", QRect(457, 232, 89, 33));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TFrmCall::Button1Click);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(17, 20, 528, 197);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setPlainText(QStringLiteral("Memo1"));
    Memo1->installEventFilter(this);

    Button2 = makeButton(this, "Button2", "&Print", QRect(353, 232, 89, 33));
    connect(Button2, &QPushButton::clicked, this, &TFrmCall::Button2Click);

    setTabOrder(Button1, Memo1);
    setTabOrder(Memo1, Button2);

    FormCreate();
}

TFrmCall::~TFrmCall() {
    if (FrmCall == this) FrmCall = nullptr;
}

void TFrmCall::FormCreate() {
    Memo1->setReadOnly(true);
    // Read-only alone leaves selecting to the mouse; the keyboard selects
    // (Shift+arrows, Ctrl+A) and copies too, and still types nothing in.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFont(font8pt("Arial"));
}

void TFrmCall::Button1Click() { close(); }

void TFrmCall::Button2Click() {
    runCommand(platform_, [this] { printDetails(lines_, platform_); });
}

void TFrmCall::clearLines() {
    lines_.clear();
    Memo1->clear();
}

void TFrmCall::setLines(std::vector<std::string> lines) {
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
    Memo1->setPlainText(text);
}

void TFrmCall::showDetails() {
    show();
    raise();
    activateWindow();
    Button1->setFocus(Qt::OtherFocusReason);
}

bool TFrmCall::eventFilter(QObject* watched, QEvent* event) {
    // The text box keeps Enter and Esc for itself: they don't close the
    // window while the focus is in it.
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kestal
