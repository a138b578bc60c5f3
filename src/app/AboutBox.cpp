#include "app/AboutBox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "app/Windows.h"
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
    aboutBox = this;
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(programIcon());
    setFont(systemFont());
    setModal(false);
    setFixedSize(298, 213);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }

    bevelPanel = new BevelPanel(this);
    bevelPanel->setObjectName(QStringLiteral("Panel1"));
    bevelPanel->setGeometry(8, 8, 281, 161);

    iconLabel = new QLabel(bevelPanel);
    iconLabel->setObjectName(QStringLiteral("ProgramIcon"));
    iconLabel->setGeometry(16, 16, 41, 33);
    iconLabel->setScaledContents(true);
    iconLabel->setPixmap(programIconPixmap());

    productName = makeLabel(bevelPanel, "ProductName", "Product Name", {72, 16});
    version = makeLabel(bevelPanel, "Version", "Version", {72, 40});
    copyright = makeLabel(bevelPanel, "Copyright", "Copyright", {72, 80});
    comments = makeLabel(bevelPanel, "Comments", "Comments", {72, 104});
    comments->setWordWrap(true);
    comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    comments->setFixedSize(177, 13);

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setGeometry(112, 182, 75, 25);
    okButton->setAutoDefault(false);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &AboutBox::okClicked);

    fillInTexts();
}

AboutBox::~AboutBox() {
    if (aboutBox == this) aboutBox = nullptr;
}

void AboutBox::fillInTexts() {
    auto set = [](QLabel* label, std::string_view text) {
        label->setText(latin1(text));
        if (!label->wordWrap()) label->adjustSize();
    };
    set(copyright, kCopyrightLine);
    set(productName, kProgramTitle);
    set(version, "Version: 1.12");
    set(comments, kContactLine);
}

void AboutBox::okClicked() { hide(); }

}  // namespace kestal
