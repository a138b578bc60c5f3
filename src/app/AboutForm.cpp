#include "app/AboutForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "app/Windows.h"

namespace kestal {

void TBevelPanel::paintEvent(QPaintEvent*) {
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

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    AboutBox = this;
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

    Panel1 = new TBevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 281, 161);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, 16, 41, 33);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programIconPixmap());

    ProductName = makeLabel(Panel1, "ProductName", "Product Name", {72, 16});
    Version = makeLabel(Panel1, "Version", "Version", {72, 40});
    Copyright = makeLabel(Panel1, "Copyright", "Copyright", {72, 80});
    Comments = makeLabel(Panel1, "Comments", "Comments", {72, 104});
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setFixedSize(177, 13);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(112, 182, 75, 25);
    Button1->setAutoDefault(false);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TAboutBox::Button1Click);

    FormCreate();
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormCreate() {
    auto set = [](QLabel* label, const char* text) {
        label->setText(QString::fromLatin1(text));
        if (!label->wordWrap()) label->adjustSize();
    };
    set(Copyright, kCopyrightLine);
    set(ProductName, kProgramTitle);
    set(Version, "Version: 1.12");
    set(Comments, kContactLine);
}

void TAboutBox::Button1Click() { hide(); }

}  // namespace kestal
