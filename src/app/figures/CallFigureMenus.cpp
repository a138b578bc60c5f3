#include "app/figures/CallFigureMenus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>

#include "app/figures/OutagesWindow.h"
#include "app/figures/StatisticsWindow.h"
#include "app/figures/TrendsWindow.h"
#include "app/look/WindowPlace.h"
#include "commands/CallCountText.h"

namespace kestal {

namespace {

// An item that shows its window, creating it the first time; one window of
// each kind, standing where the user left it last time (kept under
// placeKey), never larger than the screen.
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
                         if (!*window) {
                             *window = new Window(shownCalls(), platform, &owner);
                             (*window)->setAttribute(Qt::WA_DeleteOnClose, false);
                             rememberPlace(**window, placeKey);
                         }
                         (*window)->show();
                         (*window)->raise();
                         (*window)->activateWindow();
                     });
    return item;
}

}  // namespace

void addCallFigureItems(QMenu& callMenu, QWidget& owner, Platform& platform,
                        const std::function<ShownCalls()>& shownCalls,
                        const QString& settingsKind) {
    addWindowItem<StatisticsWindow>(callMenu, "Statistics1", QCoreApplication::translate("kestal::MainWindow", "S&tatistics..."),
                                    owner, platform, shownCalls,
                                    settingsKind + QStringLiteral("/Statistics"));
    // The charts read the dial-up log's columns: a pppd log gives them no calls.
    const auto dialUpCalls = [shownCalls] {
        ShownCalls calls = shownCalls();
        calls.rows = [rows = calls.rows, table = calls.table] {
            return table && isPppdTable(*table) ? std::vector<int>() : rows();
        };
        return calls;
    };
    addWindowItem<TrendsWindow>(callMenu, "Trends1", QCoreApplication::translate("kestal::MainWindow", "T&rends..."), owner, platform,
                                dialUpCalls, settingsKind + QStringLiteral("/Trends"));
}

void addOutagesItem(QMenu& viewMenu, QWidget& owner, Platform& platform,
                    const std::function<ShownCalls()>& shownCalls, const QString& settingsKind) {
    QAction* item = addWindowItem<OutagesWindow>(
        viewMenu, "Outages1", QCoreApplication::translate("kestal::MainWindow", "&Outages..."), owner, platform, shownCalls,
        settingsKind + QStringLiteral("/Outages"));
    QObject::connect(&viewMenu, &QMenu::aboutToShow, item, [item, shownCalls] {
        const ShownCalls calls = shownCalls();
        item->setEnabled(calls.table && isPppdTable(*calls.table));
    });
}

}  // namespace kestal
