#include "app/CallTableModel.h"

#include <QCoreApplication>

#include "platform/qt/Latin1.h"

namespace kestal {

CallTableModel::CallTableModel(const CallTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(&table) {}

void CallTableModel::setTable(const CallTable& table) {
    beginResetModel();
    table_ = &table;
    endResetModel();
}

int CallTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_->rowCount();
}

int CallTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_->columnCount();
}

QVariant CallTableModel::data(const QModelIndex& index, int role) const {
    // Only the text is answered: no tooltips, no fonts or colours per cell.
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return latin1(table_->cell(index.column(), index.row()));
}

QVariant CallTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= table_->columnCount())
        return {};
    // The title in the user's language (the catalogue's "kestal::Columns").
    const std::string_view title = table_->columns()[static_cast<std::size_t>(section)].title;
    const QByteArray source(title.data(), static_cast<qsizetype>(title.size()));
    return QCoreApplication::translate("kestal::Columns", source.constData());
}

void CallTableModel::replaceRowsFrom(int firstTableRow, int newTableRowCount,
                                     const std::function<void()>& change) {
    const int before = rowCount();
    const int after = newTableRowCount;
    if (after < before) {
        beginRemoveRows({}, after, before - 1);
        change();
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows({}, before, after - 1);
        change();
        endInsertRows();
    } else {
        change();
    }
    const int first = firstTableRow;
    const int last = std::min(before, after) - 1;
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, table_->columnCount() - 1),
                         {Qt::DisplayRole});
}

Qt::ItemFlags CallTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace kestal
