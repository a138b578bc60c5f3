#include "app/look/WindowLook.h"

#include <QPixmap>

// Resources of a static library have to be registered by hand, and only
// from outside any namespace.
static void initKestalResources() { Q_INIT_RESOURCE(kestal); }

namespace kestal {

QFont systemFont() {
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    return font;
}

QFont font8pt(const char* family, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QPixmap programIconPixmap() {
    static const bool registered = (initKestalResources(), true);
    (void)registered;
    return QPixmap(QStringLiteral(":/kestal/kestal.png"));
}

QIcon programIcon() { return QIcon(programIconPixmap()); }

}  // namespace kestal
