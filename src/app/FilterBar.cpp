#include "app/FilterBar.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

#include "app/Windows.h"

namespace kestal {

namespace {

std::chrono::year_month_day dayOf(const QDate& date) {
    return std::chrono::year_month_day{std::chrono::year{date.year()},
                                       std::chrono::month{static_cast<unsigned>(date.month())},
                                       std::chrono::day{static_cast<unsigned>(date.day())}};
}

QCheckBox* check(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A date as the log writes it.
QDateEdit* dateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("MM-dd-yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

QTimeEdit* durationEdit(QWidget* parent, const char* name, const QTime& time) {
    auto* edit = new QTimeEdit(time, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("hh:mm:ss"));
    return edit;
}

}  // namespace

FilterBar::FilterBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("FilterBar"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFont(font8pt("Arial"));
    // Two rows: the dates and the two kinds of call, then the times.
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 2, 6, 2);
    rows->setSpacing(2);
    QHBoxLayout* first = new QHBoxLayout;
    QHBoxLayout* second = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }

    fromCheck = check(this, "FromCheck", "From");
    fromDate = dateEdit(this, "FromDate");
    toCheck = check(this, "ToCheck", "to");
    toDate = dateEdit(this, "ToDate");
    errorsCheck = check(this, "ErrorsCheck", "Calls with errors");
    cutShortCheck = check(this, "CutShortCheck", "Cut-short calls");
    minDurationCheck = check(this, "MinDurationCheck", "Duration at least");
    minDuration = durationEdit(this, "MinDuration", QTime(0, 1, 0));
    maxDurationCheck = check(this, "MaxDurationCheck", "at most");
    maxDuration = durationEdit(this, "MaxDuration", QTime(1, 0, 0));
    slowLayerCheck = check(this, "SlowLayerCheck", "A layer slower than");
    slowLayerSeconds = new QDoubleSpinBox(this);
    slowLayerSeconds->setObjectName(QStringLiteral("SlowLayerSeconds"));
    slowLayerSeconds->setRange(0, 500);
    slowLayerSeconds->setDecimals(1);
    slowLayerSeconds->setSingleStep(0.5);
    slowLayerSeconds->setValue(5);
    slowLayerSeconds->setSuffix(QStringLiteral(" s"));

    for (QWidget* part : {static_cast<QWidget*>(fromCheck), static_cast<QWidget*>(fromDate),
                          static_cast<QWidget*>(toCheck), static_cast<QWidget*>(toDate)})
        first->addWidget(part);
    first->addSpacing(16);
    first->addWidget(errorsCheck);
    first->addSpacing(16);
    first->addWidget(cutShortCheck);
    first->addStretch(1);
    for (QWidget* part :
         {static_cast<QWidget*>(minDurationCheck), static_cast<QWidget*>(minDuration),
          static_cast<QWidget*>(maxDurationCheck), static_cast<QWidget*>(maxDuration)})
        second->addWidget(part);
    second->addSpacing(16);
    second->addWidget(slowLayerCheck);
    second->addWidget(slowLayerSeconds);
    second->addStretch(1);

    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &FilterBar::filterChanged);
    for (QDateEdit* edit : {fromDate, toDate})
        connect(edit, &QDateEdit::dateChanged, this, &FilterBar::filterChanged);
    for (QTimeEdit* edit : {minDuration, maxDuration})
        connect(edit, &QTimeEdit::timeChanged, this, &FilterBar::filterChanged);
    connect(slowLayerSeconds, &QDoubleSpinBox::valueChanged, this, &FilterBar::filterChanged);
}

CallFilter FilterBar::filter() const {
    CallFilter filter;
    if (fromCheck->isChecked()) filter.from = dayOf(fromDate->date());
    if (toCheck->isChecked()) filter.to = dayOf(toDate->date());
    filter.withErrors = errorsCheck->isChecked();
    filter.cutShort = cutShortCheck->isChecked();
    if (minDurationCheck->isChecked()) filter.minDuration = QTime(0, 0).secsTo(minDuration->time());
    if (maxDurationCheck->isChecked()) filter.maxDuration = QTime(0, 0).secsTo(maxDuration->time());
    if (slowLayerCheck->isChecked())
        filter.layerSlowerThanTenths = std::llround(slowLayerSeconds->value() * 10);
    return filter;
}

void FilterBar::suggestDates(const QDate& first, const QDate& last) {
    if (!fromCheck->isChecked() && first.isValid()) fromDate->setDate(first);
    if (!toCheck->isChecked() && last.isValid()) toDate->setDate(last);
}

}  // namespace kestal
