// What the grid keeps of itself from one run to the next, for each kind of
// log apart: the column widths, the hidden columns, and the column the calls
// are sorted by and in which direction.
#pragma once

#include <QString>

#include "table/TableColumns.h"

class QTableView;

namespace kestal {

// The name a kind of log's settings are kept under: "dialup" for the
// dial-up log's table; any other table by its columns' header names.
QString logKindKey(TableColumns columns);

// Puts back what the grid kept under kind, as far as it fits the grid's
// columns now: a width of each column, the hidden ones (never all of them)
// and the sort, set on the title row so that the calls are sorted by it.
// Nothing kept, or kept for other columns, leaves the grid as it is.
void restoreGridLayout(QTableView& grid, const QString& kind);
void saveGridLayout(const QTableView& grid, const QString& kind);

}  // namespace kestal
