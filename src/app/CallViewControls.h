// What the user sees of the call table and what he can do with it: sorting
// by a click on a column title (rising, falling, back to log order), the
// filter bar, the status text "12 of 340 Calls" while the filter hides
// calls, and the commands that act on the shown calls (Edit > Copy Call,
// Edit > Copy Shown Calls, File > Save Shown Calls As..., View > Filter,
// View > Log Order). The main window keeps its own commands; this sits
// between its model and the grid.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/FilterBar.h"
#include "app/ShownCallsProxy.h"
#include "platform/Platform.h"

class QAction;
class QLabel;
class QMenu;

namespace kestal {

class CallGrid;

class CallViewControls : public QObject {
    Q_OBJECT
public:
    struct Parts {
        Platform& platform;
        CallTable& table;
        QAbstractItemModel* model;  // over table
        CallGrid* grid;
        QLabel* statusLabel;
        FileDialog& saveDialog;
        // Runs a command the way the main window runs its own.
        std::function<void(const std::function<void()>&)> runCommand;
    };
    // The filter bar is created hidden as a child of barParent.
    CallViewControls(const Parts& parts, QWidget* barParent);

    // Where an item goes in a menu: before the item given, at the end when
    // there is none.
    struct MenuPlace {
        QMenu* menu;
        QAction* before = nullptr;
    };
    // Its items at the ends of the Edit and View menus, in the File menu at
    // the place given, and Copy Call on the context menu; a right click on
    // the title row chooses the columns shown.
    void addMenus(MenuPlace file, QMenu* edit, QMenu* view, QMenu* popup);

    ShownCallsProxy* proxy() const { return proxy_; }
    // Every call's values, for the filter, Statistics and Trends.
    // Places the filter bar across the top of its parent, width wide; the
    // height it takes, 0 while it is hidden.
    int placeFilterBar(int width);

    // The table row of the call selected in the grid; -1 when the filter
    // shows none.
    int selectedRow() const;
    // Selects table row row, or the first shown call when the filter hides
    // it, and scrolls it into view.
    void selectTableRow(int row);

    // The status text a load wrote; shown while the filter hides nothing.
    void setLoadStatus(const QString& text);

    // Before the model shows the table: when its columns are another kind
    // of log's, the sort and the filter are dropped, and true returned.
    bool columnsChanging();
    // After: the titles back to log order, the column widths and the filter
    // bar's checks for the kind of log, its filter applied again.
    void columnsChanged();

    // Commands.
    void copyCall();
    void copyShownCalls();
    void saveShownCallsAs();
    void showFilterBar(bool shown);
    void showLogOrder();

signals:
    // The filter bar was shown or hidden: the client area is laid out again.
    void layoutNeeded();

private:
    void sortIndicatorChanged(int column, Qt::SortOrder order);
    void applyFilter();
    void keepACallSelected();
    void showStatus();
    void chooseColumns(const QPoint& at);

    Parts parts_;
    ShownCallsProxy* proxy_ = nullptr;
    FilterBar* filterBar_ = nullptr;
    QAction* filterAction_ = nullptr;
    QMenu* columnsMenu_ =
        nullptr;  // the title row's right click  // View > Filter, checked while the bar shows
    QString loadStatus_;
    TableColumns columns_;  // those the grid shows
};

}  // namespace kestal
