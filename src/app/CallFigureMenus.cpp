#include "app/CallFigureMenus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <numeric>

#include "app/KeptCallValues.h"
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

// The main window's kept values, following its call table model.
KeptCallValues& keptValuesOf(MainWindow& window) {
    auto* kept = window.findChild<KeptCallValues*>(QStringLiteral("KeptCallValues"),
                                                   Qt::FindDirectChildrenOnly);
    kept->watch(window.model());
    return *kept;
}

}  // namespace

ShownCalls shownCallsOf(MainWindow& window, Platform& platform) {
    ShownCalls calls;
    calls.values = [&kept = keptValuesOf(window)]() -> const std::vector<CallValues>& {
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
    // The values are read after each load, before either window is asked
    // for; the call table model comes after the menus.
    auto* kept = new KeptCallValues(window.state().table, platform, &window);
    kept->setObjectName(QStringLiteral("KeptCallValues"));
    QTimer::singleShot(0, kept, [kept, &window] { kept->watch(window.model()); });

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
