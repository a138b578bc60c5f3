#include "app/ShownCallsProxy.h"

#include <algorithm>
#include <numeric>

namespace kestal {

ShownCallsProxy::ShownCallsProxy(const CallTable& table, QObject* parent)
    : QAbstractProxyModel(parent), table_(table) {}

void ShownCallsProxy::setSourceModel(QAbstractItemModel* source) {
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel()) disconnect(old, nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // A load resets the table; a followed log adds calls at its end and
        // may write its last call again. Such a change sorts and filters
        // again as a layout change, so the view keeps its selected call.
        const auto begin = [this] { beginResetModel(); };
        const auto end = [this] { resetFromSource(); };
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, begin);
        connect(source, &QAbstractItemModel::modelReset, this, end);
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, begin);
        connect(source, &QAbstractItemModel::layoutChanged, this, end);
        connect(source, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first) { rowsChangedFrom(first); });
        connect(source, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex&, int first) { rowsChangedFrom(first); });
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft) { rowsChangedFrom(topLeft.row()); });
    }
    resetFromSource();
}

void ShownCallsProxy::forgetOrderAndFilter() {
    sort_.reset();
    filter_ = CallFilter{};
    keys_.reset();
}

void ShownCallsProxy::resetFromSource() {
    keys_.reset();
    sortRows();
    endResetModel();
}

void ShownCallsProxy::rowsChangedFrom(int tableRow) {
    changeLayout([this, tableRow] {
        keys_.reset();
        sortRows();
    });
}

QModelIndex ShownCallsProxy::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex ShownCallsProxy::parent(const QModelIndex&) const { return {}; }

int ShownCallsProxy::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return inLogOrder_ >= 0 ? inLogOrder_ : static_cast<int>(shown_.size());
}

int ShownCallsProxy::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex ShownCallsProxy::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || !sourceModel()) return {};
    const int row = tableRow(proxyIndex.row());
    if (row < 0) return {};
    return sourceModel()->index(row, proxyIndex.column());
}

QModelIndex ShownCallsProxy::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid()) return {};
    const int row = viewRow(sourceIndex.row());
    if (row < 0) return {};
    return index(row, sourceIndex.column());
}

std::vector<int> ShownCallsProxy::shownRows() const {
    if (inLogOrder_ < 0) return shown_;
    std::vector<int> rows(static_cast<std::size_t>(inLogOrder_));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

int ShownCallsProxy::tableRow(int viewRow) const {
    if (viewRow < 0 || viewRow >= rowCount()) return -1;
    return inLogOrder_ >= 0 ? viewRow : shown_[static_cast<std::size_t>(viewRow)];
}

int ShownCallsProxy::viewRow(int tableRow) const {
    if (inLogOrder_ >= 0) return tableRow >= 0 && tableRow < inLogOrder_ ? tableRow : -1;
    if (tableRow < 0 || tableRow >= static_cast<int>(viewRowOf_.size())) return -1;
    return viewRowOf_[static_cast<std::size_t>(tableRow)];
}

bool ShownCallsProxy::hidesCalls() const { return shown_.size() < orderedRows_; }

void ShownCallsProxy::setSortOrder(std::optional<SortOrder> order) {
    if (order == sort_) return;
    changeLayout([this, order] {
        sort_ = order;
        sortRows();
    });
}

void ShownCallsProxy::setFilter(const CallFilter& filter) {
    if (filter == filter_) return;
    changeLayout([this, &filter] {
        filter_ = filter;
        filterRows();
    });
}

void ShownCallsProxy::sortRows() {
    if (!sort_) {
        std::vector<int>().swap(sorted_);
    } else {
        if (!keys_ || keys_->column != sort_->column) keys_ = readSortKeys(table_, sort_->column);
        sorted_ = orderedRows(*keys_, sort_->direction);
    }
    filterRows();
}

void ShownCallsProxy::filterRows() {
    // A table without calls shows its one empty row whatever the filter.
    const bool filtering = filter_.active() && table_.callCount() > 0;
    if (!sort_ && !filtering) {
        // Every row as the table has them: nothing to hold.
        inLogOrder_ = table_.rowCount();
        orderedRows_ = 0;
        std::vector<int>().swap(shown_);
        std::vector<int>().swap(viewRowOf_);
        return;
    }
    inLogOrder_ = -1;
    std::vector<int> inLogOrder;
    if (!sort_) inLogOrder = logOrder(table_);
    const std::vector<int>& ordered = sort_ ? sorted_ : inLogOrder;
    orderedRows_ = ordered.size();
    shown_ = filtering ? kestal::filterRows(table_, ordered, filter_) : ordered;
    viewRowOf_.assign(static_cast<std::size_t>(table_.rowCount()), -1);
    for (std::size_t i = 0; i < shown_.size(); ++i)
        viewRowOf_[static_cast<std::size_t>(shown_[i])] = static_cast<int>(i);
}

template <typename Change>
void ShownCallsProxy::changeLayout(const Change& change) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<int, int>> calls;  // table row and column of each
    calls.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        calls.emplace_back(tableRow(index.row()), index.column());
    change();
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& [row, column] : calls) {
        const int shownAt = viewRow(row);
        after.push_back(shownAt < 0 ? QModelIndex() : index(shownAt, column));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace kestal
