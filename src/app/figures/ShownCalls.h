// What the Statistics and Trends windows cover: the calls that the grid
// shows, read from the call table, and the way back to the grid.
#pragma once

#include <QAbstractItemModel>
#include <QPointer>
#include <functional>
#include <vector>

#include "platform/Platform.h"
#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

struct ShownCalls {
    const CallTable* table = nullptr;
    // Table rows of the calls the grid shows, in the grid's order.
    std::function<std::vector<int>()> rows;
    // The same while a pppd log is shown (rows is then empty); empty else.
    std::function<std::vector<int>()> pppdRows;
    // Selects the call of a table row in the grid and brings it into view.
    std::function<void(int tableRow)> select;
    // The grid's model: a reset, or rows shown or hidden, means new figures.
    QPointer<QAbstractItemModel> gridModel;
    RegionalSettings settings;
    // A pppd log's first and last dated line, read when its figures are.
    std::function<LogSpan()> span;
};

// Calls refresh whenever the grid's model changes what it shows.
void onShownCallsChanged(const ShownCalls& calls, QObject* receiver,
                         const std::function<void()>& refresh);

}  // namespace kestal
