#include "app/AboutBox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "app/look/WindowLook.h"
#include "app/look/WindowPlace.h"
#include "commands/Messages.h"
#include "platform/qt/Latin1.h"

namespace kestal {

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    auto bevel = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    const QRect outer = rect();
    bevel(outer, pal.color(QPalette::Dark), pal.color(QPalette::Light));  // lowered
    bevel(outer.adjusted(1, 1, -1, -1), pal.color(QPalette::Light),
          pal.color(QPalette::Dark));  // raised
}

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const char* storedCaption, QPoint at) {
    auto* label = new QLabel(QString::fromLatin1(storedCaption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font8pt("MS Sans Serif", true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    setWindowIcon(programIcon());
    setFont(systemFont());
    setModal(false);
    setFixedSize(298, 213);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }

    bevelPanel_ = new BevelPanel(this);
    bevelPanel_->setObjectName(QStringLiteral("Panel1"));
    bevelPanel_->setGeometry(8, 8, 281, 161);

    iconLabel_ = new QLabel(bevelPanel_);
    iconLabel_->setObjectName(QStringLiteral("ProgramIcon"));
    iconLabel_->setGeometry(16, 16, 41, 33);
    iconLabel_->setScaledContents(true);
    iconLabel_->setPixmap(programIconPixmap());

    productName_ = makeLabel(bevelPanel_, "ProductName", "Product Name", {72, 16});
    version_ = makeLabel(bevelPanel_, "Version", "Version", {72, 40});
    copyright_ = makeLabel(bevelPanel_, "Copyright", "Copyright", {72, 80});
    comments_ = makeLabel(bevelPanel_, "Comments", "Comments", {72, 104});
    comments_->setWordWrap(true);
    comments_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    comments_->setFixedSize(177, 13);

    okButton_ = new QPushButton(tr("&OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    okButton_->setAccessibleName(tr("OK"));
    okButton_->setGeometry(112, 182, 75, 25);
    okButton_->setAutoDefault(false);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &AboutBox::okClicked);

    fillInTexts();
    fitOnScreen(*this);
}

void AboutBox::fillInTexts() {
    auto set = [](QLabel* label, const QString& text) {
        label->setText(text);
        if (!label->wordWrap()) label->adjustSize();
    };
    set(copyright_, tr(kCopyrightLine));
    set(productName_, latin1(kProgramTitle));
    set(version_, tr("Version: %1").arg(QStringLiteral("1.12")));
    set(comments_, tr(kContactLine));
}

void AboutBox::okClicked() { hide(); }

}  // namespace kestal
