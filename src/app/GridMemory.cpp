#include "app/GridMemory.h"

#include <QHeaderView>
#include <QSettings>
#include <QTableView>
#include <QVariant>
#include <algorithm>
#include <optional>
#include <vector>

#include "calls/DialUpColumns.h"

namespace kestal {

namespace {

// A column no wider than this: a width beyond it was never the user's.
constexpr int kWidestColumn = 4000;

QSettings settings() { return QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal")); }

QString gridKey(const QString& kind, const char* name) {
    return kind + QStringLiteral("/Grid/") + QString::fromLatin1(name);
}

QVariantList numbers(const std::vector<int>& values) {
    QVariantList list;
    for (const int value : values) list.push_back(value);
    return list;
}

// Each entry a whole number, or nothing at all.
std::optional<std::vector<int>> readNumbers(const QVariant& kept) {
    std::vector<int> values;
    for (const QVariant& entry : kept.toList()) {
        bool ok = false;
        const int value = entry.toInt(&ok);
        if (!ok) return std::nullopt;
        values.push_back(value);
    }
    return values;
}

}  // namespace

QString logKindKey(TableColumns columns) {
    if (columns.data() == kDialUpColumns.data() && columns.size() == kDialUpColumns.size())
        return QStringLiteral("dialup");
    QStringList headers;
    for (const TableColumn& column : columns)
        headers << QString::fromLatin1(column.header.data(),
                                       static_cast<qsizetype>(column.header.size()));
    // Settings keys take letters and digits best; a hash names the columns.
    return QStringLiteral("table-%1").arg(qHash(headers.join(QLatin1Char('|'))), 0, 16);
}

void restoreGridLayout(QTableView& grid, const QString& kind) {
    QHeaderView* titles = grid.horizontalHeader();
    const int columns = titles->count();
    const QSettings kept = settings();

    if (const auto widths = readNumbers(kept.value(gridKey(kind, "ColumnWidths")));
        widths && static_cast<int>(widths->size()) == columns) {
        // A column hidden when the widths were kept has none: it keeps its own.
        for (int column = 0; column < columns; ++column)
            if (const int width = (*widths)[static_cast<std::size_t>(column)]; width > 0)
                grid.setColumnWidth(column,
                                    std::clamp(width, titles->minimumSectionSize(), kWidestColumn));
    }

    if (const auto hidden = readNumbers(kept.value(gridKey(kind, "HiddenColumns")))) {
        const bool fits =
            std::ranges::all_of(*hidden, [columns](int c) { return c >= 0 && c < columns; });
        std::vector<int> distinct = *hidden;
        std::ranges::sort(distinct);
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        if (fits && static_cast<int>(distinct.size()) < columns) {
            for (int column = 0; column < columns; ++column)
                grid.setColumnHidden(column, std::ranges::binary_search(distinct, column));
        }
    }

    bool ok = false;
    const int sortColumn = kept.value(gridKey(kind, "SortColumn")).toInt(&ok);
    if (ok && sortColumn >= 0 && sortColumn < columns) {
        const bool descending =
            kept.value(gridKey(kind, "SortOrder")).toString() == QStringLiteral("descending");
        titles->setSortIndicator(sortColumn, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

void saveGridLayout(const QTableView& grid, const QString& kind) {
    const QHeaderView* titles = grid.horizontalHeader();
    std::vector<int> widths;
    std::vector<int> hidden;
    for (int column = 0; column < titles->count(); ++column) {
        // A hidden column has no width to keep (0).
        widths.push_back(grid.columnWidth(column));
        if (titles->isSectionHidden(column)) hidden.push_back(column);
    }
    QSettings kept = settings();
    kept.setValue(gridKey(kind, "ColumnWidths"), numbers(widths));
    kept.setValue(gridKey(kind, "HiddenColumns"), numbers(hidden));
    const int sortColumn = titles->sortIndicatorSection();
    const bool sorted = sortColumn >= 0 && sortColumn < titles->count();
    kept.setValue(gridKey(kind, "SortColumn"), sorted ? sortColumn : -1);
    kept.setValue(gridKey(kind, "SortOrder"), titles->sortIndicatorOrder() == Qt::DescendingOrder
                                                  ? QStringLiteral("descending")
                                                  : QStringLiteral("ascending"));
}

}  // namespace kestal
