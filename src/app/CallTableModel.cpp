#include "app/CallTableModel.h"

namespace kestal {

CallTableModel::CallTableModel(const CallTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int CallTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount() - 1;
}

int CallTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

static QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant CallTableModel::data(const QModelIndex& index, int role) const {
    // Only the text is answered: no tooltips, no fonts or colours per cell.
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return latin1(table_.cell(index.column(), tableRow(index.row())));
}

QVariant CallTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumnCount)
        return {};
    return latin1(table_.cell(section, 0));
}

Qt::ItemFlags CallTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace kestal
