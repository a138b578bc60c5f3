// The calls as the grid shows them: sorted by one column or in log order, and
// filtered. A permutation of the call table's rows sits between the call
// table model and the view; no row is copied. A change of sort or filter is
// a layout change, so the selection follows its call.
#pragma once

#include <QAbstractProxyModel>
#include <optional>
#include <vector>

#include "calls/CallFilter.h"
#include "table/CallOrder.h"
#include "table/CallTable.h"

namespace kestal {

class ShownCallsProxy : public QAbstractProxyModel {
    Q_OBJECT
public:
    // source is the model over table (model row r is table row r).
    explicit ShownCallsProxy(const CallTable& table, QObject* parent = nullptr);

    // The table is about to take another kind of log's columns: the sort
    // and the filter are dropped without reading it (the next reset shows
    // the rows in log order).
    void forgetOrderAndFilter();

    void setSourceModel(QAbstractItemModel* source) override;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

    std::optional<SortOrder> sortOrder() const { return sort_; }
    void setSortOrder(std::optional<SortOrder> order);
    const CallFilter& filter() const { return filter_; }
    void setFilter(const CallFilter& filter);

    // Table rows in the order shown.
    std::vector<int> shownRows() const;
    // The table row that view row shows; -1 for none.
    int tableRow(int viewRow) const;
    // The view row that shows table row; -1 when it is hidden.
    int viewRow(int tableRow) const;
    // True when the filter hides at least one call.
    bool hidesCalls() const;

private:
    // Sorts every row again (sort_ changed or the table did).
    void sortRows();
    // Filters the sorted rows again and indexes the result.
    void filterRows();
    // Runs change inside a layout change, moving the persistent indexes
    // (the view's selection) along with their calls.
    template <typename Change>
    void changeLayout(const Change& change);
    void resetFromSource();
    // Rows from tableRow on were added, removed or written again.
    void rowsChangedFrom(int tableRow);

    const CallTable& table_;
    std::optional<SortOrder> sort_;
    CallFilter filter_;
    // Unsorted and unfiltered, the view shows the first inLogOrder_ table
    // rows in their order and the three lists below are empty; -1 otherwise.
    int inLogOrder_ = 0;
    std::vector<int> sorted_;      // every table row, in the sort order
    std::vector<int> shown_;       // those the filter lets through
    std::vector<int> viewRowOf_;   // by table row: the view row, or -1
    std::size_t orderedRows_ = 0;  // the rows shown_ was filtered from
    // The last sort column's values, for sorting it the other way round.
    std::optional<SortKeys> keys_;
};

}  // namespace kestal
