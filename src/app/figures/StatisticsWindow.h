// Call > Statistics: one row of figures per period (the whole log, day,
// week or month) over the calls the grid shows, with Copy and Save As; a
// pppd log's sessions and failed attempts get figures of their own.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "app/figures/ShownCalls.h"
#include "output/CallStatistics.h"
#include "output/PppdStatistics.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace kestal {

class StatisticsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(std::vector<StatisticsRow> rows);
    void setPppdRows(std::vector<PppdStatisticsRow> rows);
    const std::vector<StatisticsRow>& rows() const { return rows_; }
    const std::vector<PppdStatisticsRow>& pppdRows() const { return pppdRows_; }
    bool pppd() const { return pppd_; }
    std::string_view text(int row, int column) const;
    std::string_view header(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<StatisticsRow> rows_;
    std::vector<PppdStatisticsRow> pppdRows_;
    bool pppd_ = false;  // which of the two is shown
};

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(ShownCalls calls, Platform& platform, QWidget* parent = nullptr);

    // Reads the calls shown now again, then groups them.
    void refresh();
    // Groups the calls read by the period chosen.
    void regroup();
    void copyFigures();
    void saveFigures();
    StatisticsPeriod period() const;
    // Each column as wide as its title and its widest figure.
    void fitColumns();
    // The window as wide as its columns, or as the screen's free area.
    void fitWidth();

    // The figures shown, one row per period.
    const std::vector<StatisticsRow>& figures() const { return model_->rows(); }
    const std::vector<PppdStatisticsRow>& pppdFigures() const { return model_->pppdRows(); }
    // The figures shown as text, the header line first.
    std::string figuresText(StatisticsLayout layout, bool header) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* periodBox_ = nullptr;
    QTableView* figuresGrid_ = nullptr;
    QLabel* callsLabel_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveAsButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    StatisticsModel* model_ = nullptr;
    ShownCalls calls_;
    std::vector<int> rows_;  // the table rows of the calls shown
    Platform& platform_;
    FileDialog saveDialog_;
};

}  // namespace kestal
