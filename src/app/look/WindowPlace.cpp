#include "app/look/WindowPlace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace kestal {

namespace {

QSettings settings() { return QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal")); }

void fitShownWindow(QWidget& window);

// What the window system's frame adds to a shown window's size; none while
// no window is shown.
QSize frameOfShownWindows() {
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (!shown->isVisible() || shown->isFullScreen()) continue;
        const QSize frame = shown->frameGeometry().size() - shown->geometry().size();
        if (frame.width() > 0 || frame.height() > 0) return frame;
    }
    return {0, 0};
}

QString geometryKey(const QString& key) { return key + QStringLiteral("/Geometry"); }

// The first coordinate at which length fits between low and low + room:
// start itself when it does, the nearest one that does otherwise.
int keptInside(int start, int length, int low, int room) {
    if (length >= room) return low;
    return std::clamp(start, low, low + room - length);
}

// Keeps the window's place whenever it goes out of sight, and when the
// program ends while it is still open.
class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget& window, QString key)
        : QObject(&window), window_(&window), key_(std::move(key)) {
        window.installEventFilter(this);
        if (QCoreApplication* application = QCoreApplication::instance())
            connect(application, &QCoreApplication::aboutToQuit, this, [this] {
                if (window_ && window_->isVisible()) keep();
            });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && window_->isVisible() &&
            (event->type() == QEvent::Close ||
             (event->type() == QEvent::Hide && !event->spontaneous())))
            keep();
        return QObject::eventFilter(watched, event);
    }

private:
    void keep() { settings().setValue(geometryKey(key_), window_->saveGeometry()); }

    QPointer<QWidget> window_;
    QString key_;
};

// Fits the window once more when it is first shown: only then does it have
// its frame, and a place of the window system's choosing.
class FitWhenShown : public QObject {
public:
    explicit FitWhenShown(QWidget& window) : QObject(&window), window_(&window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            // Once the window system has mapped the window, and again when
            // it has had time to tell the frame it drew around it.
            for (const int delay : {0, 250})
                QTimer::singleShot(delay, window_, [window = window_] {
                    if (window) fitShownWindow(*window);
                });
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void fitOnScreen(QWidget& window) {
    if (!window.isVisible()) new FitWhenShown(window);
    fitShownWindow(window);
}

namespace {

void fitShownWindow(QWidget& window) {
    const QRect area = availableArea(window);
    if (area.isEmpty() || window.isMaximized() || window.isFullScreen()) return;
    // Before the window is first shown its frame is not known yet: a shown
    // window's stands in for it, as the same window system draws both.
    const QRect inside = window.geometry();
    const QRect outer = window.frameGeometry();
    const QSize frame = window.isVisible() ? outer.size() - inside.size() : frameOfShownWindows();
    const QSize fitted = inside.size().boundedTo(area.size() - frame);
    if (fitted != inside.size()) window.resize(fitted);
    // A window not shown yet and not placed on purpose is the window
    // system's to place.
    if (!window.isVisible() && !window.testAttribute(Qt::WA_Moved)) return;
    const QSize whole = window.size() + frame;
    const QPoint place(keptInside(outer.left(), whole.width(), area.left(), area.width()),
                       keptInside(outer.top(), whole.height(), area.top(), area.height()));
    if (place != outer.topLeft()) window.move(place);
}

}  // namespace

bool rememberPlace(QWidget& window, const QString& key) {
    const QByteArray kept = settings().value(geometryKey(key)).toByteArray();
    const bool restored = !kept.isEmpty() && window.restoreGeometry(kept);
    fitOnScreen(window);
    new PlaceKeeper(window, key);
    return restored;
}

}  // namespace kestal
