#include "app/figures/CallFigureMenus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>

#include "app/figures/OutagesWindow.h"
#include "app/figures/PppdTrendsWindow.h"
#include "app/figures/StatisticsWindow.h"
#include "app/figures/TrendsWindow.h"
#include "app/look/WindowPlace.h"
#include "commands/CallCountText.h"

namespace kestal {

namespace {

// Shows window, creating it the first time, standing where the user left
// it last time (kept under placeKey), never larger than the screen.
template <typename Window>
void showWindow(QPointer<Window>& window, QWidget& owner, Platform& platform,
                const ShownCalls& calls, const QString& placeKey) {
    if (!window) {
        window = new Window(calls, platform, &owner);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        rememberPlace(*window, placeKey);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

// An item that shows its window; one window of each kind.
template <typename Window>
QAction* addWindowItem(QMenu& callMenu, const char* name, const QString& caption, QWidget& owner,
                       Platform& platform, const std::function<ShownCalls()>& shownCalls,
                       const QString& placeKey) {
    auto* item = new QAction(caption, &owner);
    item->setObjectName(QString::fromLatin1(name));
    callMenu.addAction(item);
    auto window = std::make_shared<QPointer<Window>>();
    QObject::connect(item, &QAction::triggered, &owner,
                     [&owner, &platform, shownCalls, window, placeKey] {
                         showWindow(*window, owner, platform, shownCalls(), placeKey);
                     });
    return item;
}

// Trends: the dial-up log's charts or the pppd log's, by the log shown;
// the other kind's window closes.
void addTrendsItem(QMenu& callMenu, QWidget& owner, Platform& platform,
                   const std::function<ShownCalls()>& shownCalls, const QString& settingsKind) {
    auto* item =
        new QAction(QCoreApplication::translate("kestal::MainWindow", "T&rends..."), &owner);
    item->setObjectName(QStringLiteral("Trends1"));
    callMenu.addAction(item);
    auto dialUp = std::make_shared<QPointer<TrendsWindow>>();
    auto pppd = std::make_shared<QPointer<PppdTrendsWindow>>();
    QObject::connect(item, &QAction::triggered, &owner,
                     [&owner, &platform, shownCalls, dialUp, pppd, settingsKind] {
                         const ShownCalls calls = shownCalls();
                         if (calls.table && isPppdTable(*calls.table)) {
                             if (*dialUp) (*dialUp)->close();
                             showWindow(*pppd, owner, platform, calls,
                                        settingsKind + QStringLiteral("/PppdTrends"));
                         } else {
                             if (*pppd) (*pppd)->close();
                             showWindow(*dialUp, owner, platform, calls,
                                        settingsKind + QStringLiteral("/Trends"));
                         }
                     });
}

}  // namespace

void addCallFigureItems(QMenu& callMenu, QWidget& owner, Platform& platform,
                        const std::function<ShownCalls()>& shownCalls,
                        const QString& settingsKind) {
    addWindowItem<StatisticsWindow>(
        callMenu, "Statistics1",
        QCoreApplication::translate("kestal::MainWindow", "S&tatistics..."), owner, platform,
        shownCalls, settingsKind + QStringLiteral("/Statistics"));
    addTrendsItem(callMenu, owner, platform, shownCalls, settingsKind);
}

void addOutagesItem(QMenu& viewMenu, QWidget& owner, Platform& platform,
                    const std::function<ShownCalls()>& shownCalls, const QString& settingsKind) {
    QAction* item = addWindowItem<OutagesWindow>(
        viewMenu, "Outages1", QCoreApplication::translate("kestal::MainWindow", "&Outages..."),
        owner, platform, shownCalls, settingsKind + QStringLiteral("/Outages"));
    QObject::connect(&viewMenu, &QMenu::aboutToShow, item, [item, shownCalls] {
        const ShownCalls calls = shownCalls();
        item->setEnabled(calls.table && isPppdTable(*calls.table));
    });
}

}  // namespace kestal
