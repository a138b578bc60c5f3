// The filter bar above the grid (View > Filter): a date range on Start Time,
// calls with errors, cut-short calls, a duration range and a slow layer.
// Each check turns its part of the filter on; every change applies at once.
#pragma once

#include <QFrame>

#include "calls/CallFilter.h"

class QCheckBox;
class QDateEdit;
class QDoubleSpinBox;
class QTimeEdit;

namespace kestal {

class FilterBar : public QFrame {
    Q_OBJECT
public:
    explicit FilterBar(QWidget* parent = nullptr);

    // The filter the controls describe.
    CallFilter filter() const;

    // The dates the range starts from while its checks are off: the first
    // and the last call's.
    void suggestDates(const QDate& first, const QDate& last);

    // The focus to the first control, the From check.
    void focusFirstCheck();

    // The checks of a pppd log's rows (dropped sessions, failed attempts) in
    // place of the dial-up log's errors, cut-short calls and slow layers.
    void showPppdChecks(bool pppd);

signals:
    void filterChanged();

private:
    QCheckBox* fromCheck_ = nullptr;
    QDateEdit* fromDate_ = nullptr;
    QCheckBox* toCheck_ = nullptr;
    QDateEdit* toDate_ = nullptr;
    QCheckBox* errorsCheck_ = nullptr;
    QCheckBox* cutShortCheck_ = nullptr;
    QCheckBox* minDurationCheck_ = nullptr;
    QTimeEdit* minDuration_ = nullptr;
    QCheckBox* maxDurationCheck_ = nullptr;
    QTimeEdit* maxDuration_ = nullptr;
    QCheckBox* slowLayerCheck_ = nullptr;
    QDoubleSpinBox* slowLayerSeconds_ = nullptr;
    QCheckBox* droppedCheck_ = nullptr;
    QCheckBox* failedCheck_ = nullptr;
    bool pppd_ = false;
};

}  // namespace kestal
