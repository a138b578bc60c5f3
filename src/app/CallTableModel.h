// The call table as the grid sees it: model row r is table row r, and the
// horizontal header shows the columns' titles. The model owns its
// resets: setTable shows another table (or the same one, changed) at once.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "table/CallTable.h"

namespace kestal {

class CallTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CallTableModel(const CallTable& table, QObject* parent = nullptr);

    // Shows table from now on; the views forget what they showed before.
    void setTable(const CallTable& table);
    const CallTable& table() const { return *table_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table's rows from firstTableRow on are rewritten, and rows added
    // after them, by change(), which leaves newTableRowCount rows: the rows
    // before stay, and so do the view's selection and scroll position.
    void replaceRowsFrom(int firstTableRow, int newTableRowCount,
                         const std::function<void()>& change);

private:
    const CallTable* table_;
};

}  // namespace kestal
