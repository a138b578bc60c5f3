#include "app/CallFigureMenus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <numeric>

#include "app/MainWindow.h"
#include "app/ShownCalls.h"
#include "app/StatisticsWindow.h"
#include "app/TrendsWindow.h"

namespace kestal {

namespace {

// Shows the window, creating it the first time; one window of each kind.
template <typename Window>
void showWindow(QPointer<Window>& window, MainWindow& owner, Platform& platform) {
    if (!window) {
        window = new Window(shownCallsOf(owner, platform), platform, &owner);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

ShownCalls shownCallsOf(MainWindow& window, Platform& platform) {
    ShownCalls calls;
    calls.values = [&kept =
                        window.viewControls()->keptValues()]() -> const std::vector<CallValues>& {
        return kept.values();
    };
    calls.table = &window.state().table;
    // The calls the grid shows, in its order, through its sort and filter.
    calls.rows = [&window] {
        if (window.state().table.callCount() == 0) return std::vector<int>();
        return window.viewControls()->proxy()->shownRows();
    };
    calls.select = [&window](int tableRow) {
        if (tableRow < 1 || tableRow >= window.state().table.rowCount()) return;
        window.viewControls()->selectTableRow(tableRow);
    };
    calls.gridModel = window.callGrid->model();
    calls.settings = platform.regionalSettings();
    return calls;
}

void addCallFigureItems(MainWindow& window, Platform& platform) {
    auto* statistics = new QAction(QStringLiteral("S&tatistics..."), &window);
    statistics->setObjectName(QStringLiteral("Statistics1"));
    window.callMenu->addAction(statistics);
    auto statisticsWindow = std::make_shared<QPointer<StatisticsWindow>>();
    QObject::connect(statistics, &QAction::triggered, &window,
                     [&window, &platform, statisticsWindow] {
                         showWindow(*statisticsWindow, window, platform);
                     });

    auto* trends = new QAction(QStringLiteral("T&rends..."), &window);
    trends->setObjectName(QStringLiteral("Trends1"));
    window.callMenu->addAction(trends);
    auto trendsWindow = std::make_shared<QPointer<TrendsWindow>>();
    QObject::connect(trends, &QAction::triggered, &window, [&window, &platform, trendsWindow] {
        showWindow(*trendsWindow, window, platform);
    });
}

}  // namespace kestal
