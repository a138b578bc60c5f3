#include "app/FilterBar.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

#include "app/look/WindowLook.h"

namespace kestal {

namespace {

std::chrono::year_month_day dayOf(const QDate& date) {
    return std::chrono::year_month_day{std::chrono::year{date.year()},
                                       std::chrono::month{static_cast<unsigned>(date.month())},
                                       std::chrono::day{static_cast<unsigned>(date.day())}};
}

// A check and what a screen reader calls it: its caption alone ("to",
// "at most") can say too little.
QCheckBox* check(QWidget* parent, const char* name, const char* caption, const char* spoken) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(QString::fromLatin1(spoken));
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

    // The access letters keep clear of the menu bar's (F, E, C, V, H).
    fromCheck_ = check(this, "FromCheck", "F&rom", "Calls from");
    fromDate_ = dateEdit(this, "FromDate");
    toCheck_ = check(this, "ToCheck", "&to", "Calls to");
    toDate_ = dateEdit(this, "ToDate");
    errorsCheck_ = check(this, "ErrorsCheck", "Calls &with errors", "Calls with errors");
    cutShortCheck_ = check(this, "CutShortCheck", "Cut-&short calls", "Cut-short calls");
    minDurationCheck_ = check(this, "MinDurationCheck", "&Duration at least", "Duration at least");
    minDuration_ = durationEdit(this, "MinDuration", QTime(0, 1, 0));
    maxDurationCheck_ = check(this, "MaxDurationCheck", "at &most", "Duration at most");
    maxDuration_ = durationEdit(this, "MaxDuration", QTime(1, 0, 0));
    slowLayerCheck_ = check(this, "SlowLayerCheck", "A &layer slower than", "A layer slower than");
    slowLayerSeconds_ = new QDoubleSpinBox(this);
    slowLayerSeconds_->setObjectName(QStringLiteral("SlowLayerSeconds"));
    slowLayerSeconds_->setRange(0, 500);
    slowLayerSeconds_->setDecimals(1);
    slowLayerSeconds_->setSingleStep(0.5);
    slowLayerSeconds_->setValue(5);
    slowLayerSeconds_->setSuffix(QStringLiteral(" s"));
    fromDate_->setAccessibleName(QStringLiteral("First date"));
    toDate_->setAccessibleName(QStringLiteral("Last date"));
    minDuration_->setAccessibleName(QStringLiteral("Shortest duration"));
    maxDuration_->setAccessibleName(QStringLiteral("Longest duration"));
    slowLayerSeconds_->setAccessibleName(QStringLiteral("Layer seconds"));

    for (QWidget* part : {static_cast<QWidget*>(fromCheck_), static_cast<QWidget*>(fromDate_),
                          static_cast<QWidget*>(toCheck_), static_cast<QWidget*>(toDate_)})
        first->addWidget(part);
    first->addSpacing(16);
    first->addWidget(errorsCheck_);
    first->addSpacing(16);
    first->addWidget(cutShortCheck_);
    first->addStretch(1);
    for (QWidget* part :
         {static_cast<QWidget*>(minDurationCheck_), static_cast<QWidget*>(minDuration_),
          static_cast<QWidget*>(maxDurationCheck_), static_cast<QWidget*>(maxDuration_)})
        second->addWidget(part);
    second->addSpacing(16);
    second->addWidget(slowLayerCheck_);
    second->addWidget(slowLayerSeconds_);
    second->addStretch(1);

    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &FilterBar::filterChanged);
    for (QDateEdit* edit : {fromDate_, toDate_})
        connect(edit, &QDateEdit::dateChanged, this, &FilterBar::filterChanged);
    for (QTimeEdit* edit : {minDuration_, maxDuration_})
        connect(edit, &QTimeEdit::timeChanged, this, &FilterBar::filterChanged);
    connect(slowLayerSeconds_, &QDoubleSpinBox::valueChanged, this, &FilterBar::filterChanged);
}

CallFilter FilterBar::filter() const {
    CallFilter filter;
    if (fromCheck_->isChecked()) filter.from = dayOf(fromDate_->date());
    if (toCheck_->isChecked()) filter.to = dayOf(toDate_->date());
    filter.withErrors = errorsCheck_->isChecked();
    filter.cutShort = cutShortCheck_->isChecked();
    if (minDurationCheck_->isChecked())
        filter.minDuration = QTime(0, 0).secsTo(minDuration_->time());
    if (maxDurationCheck_->isChecked())
        filter.maxDuration = QTime(0, 0).secsTo(maxDuration_->time());
    if (slowLayerCheck_->isChecked())
        filter.layerSlowerThanTenths = std::llround(slowLayerSeconds_->value() * 10);
    return filter;
}

void FilterBar::focusFirstCheck() { fromCheck_->setFocus(); }

void FilterBar::suggestDates(const QDate& first, const QDate& last) {
    if (!fromCheck_->isChecked() && first.isValid()) fromDate_->setDate(first);
    if (!toCheck_->isChecked() && last.isValid()) toDate_->setDate(last);
}

}  // namespace kestal
