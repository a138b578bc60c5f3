// View > Outages...: the times a pppd log's link was down, one row per gap
// (longest first, any column sorts), a click selecting in the grid the row
// that opened the gap.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "app/figures/ShownCalls.h"
#include "output/Outages.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace kestal {

class OutagesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    // The gaps and their cells, in log order.
    void setOutages(std::vector<Outage> outages, std::vector<OutageRow> cells);
    const std::vector<Outage>& outages() const { return outages_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Qt::UserRole: the value a column sorts by (an open gap's End and
    // Length after every closed one's).
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Outage> outages_;
    std::vector<OutageRow> cells_;
};

class OutagesWindow : public QWidget {
    Q_OBJECT
public:
    OutagesWindow(ShownCalls calls, Platform& platform, QWidget* parent = nullptr);

    // Finds the gaps of the log shown now again.
    void refresh();
    // Selects in the grid the row that opened the gap of the window's row.
    void selectOpeningRow(int shownRow);
    void copyOutages();
    // The gaps in the order shown.
    std::vector<Outage> shownOutages() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableView* outagesTable_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    OutagesModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    ShownCalls calls_;
    Platform& platform_;
};

}  // namespace kestal
