// The filter bar above Grid1 (View > Filter): a date range on Start Time,
// calls with errors, cut-short calls, a duration range and a slow layer.
// Each check turns its part of the filter on; every change applies at once.
#pragma once

#include <QFrame>

#include "table/CallFilter.h"

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

    QCheckBox* fromCheck = nullptr;
    QDateEdit* fromDate = nullptr;
    QCheckBox* toCheck = nullptr;
    QDateEdit* toDate = nullptr;
    QCheckBox* errorsCheck = nullptr;
    QCheckBox* cutShortCheck = nullptr;
    QCheckBox* minDurationCheck = nullptr;
    QTimeEdit* minDuration = nullptr;
    QCheckBox* maxDurationCheck = nullptr;
    QTimeEdit* maxDuration = nullptr;
    QCheckBox* slowLayerCheck = nullptr;
    QDoubleSpinBox* slowLayerSeconds = nullptr;

signals:
    void filterChanged();
};

}  // namespace kestal
