// The filter bar above the grid (View > Filter): a date range on Start Time,
// calls with errors, cut-short calls, a duration range and a slow layer.
// Each check turns its part of the filter on; every change applies at once.
#pragma once

#include <QDate>
#include <QFrame>

#include "calls/CallFilter.h"

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
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
    // A date typed whole as the log writes it ("12-03-2026"), or picked from
    // the calendar beside it. A text that is no date stays as typed, shown
    // as wrong, and the filter keeps the last date that was right.
    struct DateField {
        QWidget* box = nullptr;  // the text and its calendar button
        QLineEdit* edit = nullptr;
        QDate date;
    };
    void makeDateField(DateField& field, const char* name);
    void setDate(DateField& field, const QDate& date);
    void dateTyped(DateField& field);
    void showDateWrong(DateField& field, bool wrong);

    QCheckBox* fromCheck_ = nullptr;
    DateField fromDate_;
    QCheckBox* toCheck_ = nullptr;
    DateField toDate_;
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
