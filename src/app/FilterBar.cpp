#include "app/FilterBar.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <cmath>

#include "app/look/WindowLook.h"
#include "pppd/PppdColumns.h"

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
    auto* box = new QCheckBox(FilterBar::tr(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(FilterBar::tr(spoken));
    return box;
}

// A date as the log writes it; when typed, the month and the day may
// also have one digit.
const QString kDateFormat = QStringLiteral("MM-dd-yyyy");

QDate typedDate(const QString& text) {
    static const QRegularExpression whole(QStringLiteral("^\\d{1,2}-\\d{1,2}-\\d{4}$"));
    const QString typed = text.trimmed();
    // All four digits of the year: "12-03-2" is a date half typed, not one
    // in the year 2.
    if (!whole.match(typed).hasMatch()) return {};
    for (const QString& format : {kDateFormat, QStringLiteral("M-d-yyyy")})
        if (const QDate date = QDate::fromString(typed, format); date.isValid()) return date;
    return {};
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
    fromCheck_ = check(this, "FromCheck", QT_TR_NOOP("F&rom"), QT_TR_NOOP("Calls from"));
    makeDateField(fromDate_, "FromDate");
    toCheck_ = check(this, "ToCheck", QT_TR_NOOP("&to"), QT_TR_NOOP("Calls to"));
    makeDateField(toDate_, "ToDate");
    errorsCheck_ = check(this, "ErrorsCheck", QT_TR_NOOP("Calls &with errors"),
                         QT_TR_NOOP("Calls with errors"));
    cutShortCheck_ =
        check(this, "CutShortCheck", QT_TR_NOOP("Cut-&short calls"), QT_TR_NOOP("Cut-short calls"));
    droppedCheck_ = check(this, "DroppedCheck", QT_TR_NOOP("Dr&opped sessions"),
                          QT_TR_NOOP("Dropped sessions"));
    failedCheck_ =
        check(this, "FailedCheck", QT_TR_NOOP("Failed &attempts"), QT_TR_NOOP("Failed attempts"));
    minDurationCheck_ = check(this, "MinDurationCheck", QT_TR_NOOP("&Duration at least"),
                              QT_TR_NOOP("Duration at least"));
    minDuration_ = durationEdit(this, "MinDuration", QTime(0, 1, 0));
    maxDurationCheck_ =
        check(this, "MaxDurationCheck", QT_TR_NOOP("at &most"), QT_TR_NOOP("Duration at most"));
    maxDuration_ = durationEdit(this, "MaxDuration", QTime(1, 0, 0));
    slowLayerCheck_ = check(this, "SlowLayerCheck", QT_TR_NOOP("A &layer slower than"),
                            QT_TR_NOOP("A layer slower than"));
    slowLayerSeconds_ = new QDoubleSpinBox(this);
    slowLayerSeconds_->setObjectName(QStringLiteral("SlowLayerSeconds"));
    slowLayerSeconds_->setRange(0, 500);
    slowLayerSeconds_->setDecimals(1);
    slowLayerSeconds_->setSingleStep(0.5);
    slowLayerSeconds_->setValue(5);
    slowLayerSeconds_->setSuffix(tr(" s"));
    fromDate_.edit->setAccessibleName(tr("First date"));
    toDate_.edit->setAccessibleName(tr("Last date"));
    fromDate_.box->findChild<QToolButton*>()->setAccessibleName(tr("Calendar of the first date"));
    toDate_.box->findChild<QToolButton*>()->setAccessibleName(tr("Calendar of the last date"));
    minDuration_->setAccessibleName(tr("Shortest duration"));
    maxDuration_->setAccessibleName(tr("Longest duration"));
    slowLayerSeconds_->setAccessibleName(tr("Layer seconds"));

    for (QWidget* part : {static_cast<QWidget*>(fromCheck_), fromDate_.box,
                          static_cast<QWidget*>(toCheck_), toDate_.box})
        first->addWidget(part);
    first->addSpacing(16);
    first->addWidget(errorsCheck_);
    first->addSpacing(16);
    first->addWidget(cutShortCheck_);
    first->addWidget(droppedCheck_);
    first->addSpacing(16);
    first->addWidget(failedCheck_);
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
    for (QTimeEdit* edit : {minDuration_, maxDuration_})
        connect(edit, &QTimeEdit::timeChanged, this, &FilterBar::filterChanged);
    connect(slowLayerSeconds_, &QDoubleSpinBox::valueChanged, this, &FilterBar::filterChanged);
    showPppdChecks(false);
}

void FilterBar::showPppdChecks(bool pppd) {
    pppd_ = pppd;
    for (QWidget* dialUp :
         {static_cast<QWidget*>(errorsCheck_), static_cast<QWidget*>(cutShortCheck_),
          static_cast<QWidget*>(slowLayerCheck_), static_cast<QWidget*>(slowLayerSeconds_)})
        dialUp->setVisible(!pppd);
    for (QCheckBox* pppdCheck : {droppedCheck_, failedCheck_}) pppdCheck->setVisible(pppd);
}

CallFilter FilterBar::filter() const {
    CallFilter filter;
    if (fromCheck_->isChecked()) filter.from = dayOf(fromDate_.date);
    if (toCheck_->isChecked()) filter.to = dayOf(toDate_.date);
    if (minDurationCheck_->isChecked())
        filter.minDuration = QTime(0, 0).secsTo(minDuration_->time());
    if (maxDurationCheck_->isChecked())
        filter.maxDuration = QTime(0, 0).secsTo(maxDuration_->time());
    if (pppd_) {
        // Either kind of row the user asks for is shown.
        if (droppedCheck_->isChecked()) filter.anyOfMarks |= kDroppedMark;
        if (failedCheck_->isChecked()) filter.anyOfMarks |= kFailedAttemptMark;
        return filter;
    }
    filter.withErrors = errorsCheck_->isChecked();
    filter.cutShort = cutShortCheck_->isChecked();
    if (slowLayerCheck_->isChecked())
        filter.layerSlowerThanTenths = std::llround(slowLayerSeconds_->value() * 10);
    return filter;
}

void FilterBar::focusFirstCheck() { fromCheck_->setFocus(); }

void FilterBar::suggestDates(const QDate& first, const QDate& last) {
    if (!fromCheck_->isChecked() && first.isValid()) setDate(fromDate_, first);
    if (!toCheck_->isChecked() && last.isValid()) setDate(toDate_, last);
}

void FilterBar::makeDateField(DateField& field, const char* name) {
    field.box = new QWidget(this);
    auto* parts = new QHBoxLayout(field.box);
    parts->setContentsMargins(0, 0, 0, 0);
    parts->setSpacing(0);
    field.edit = new QLineEdit(field.box);
    field.edit->setObjectName(QString::fromLatin1(name));
    field.edit->setMaxLength(10);
    field.edit->setPlaceholderText(tr("MM-DD-YYYY"));
    field.edit->setFixedWidth(
        field.edit->fontMetrics().horizontalAdvance(QStringLiteral("00-00-0000")) + 16);
    parts->addWidget(field.edit);

    auto* calendarButton = new QToolButton(field.box);
    calendarButton->setObjectName(QString::fromLatin1(name) + QStringLiteral("Calendar"));
    calendarButton->setArrowType(Qt::DownArrow);
    calendarButton->setToolTip(tr("Pick the date from a calendar"));
    auto* calendarMenu = new QMenu(calendarButton);
    auto* calendar = new QCalendarWidget(calendarMenu);
    calendar->setObjectName(QString::fromLatin1(name) + QStringLiteral("CalendarPicker"));
    auto* calendarItem = new QWidgetAction(calendarMenu);
    calendarItem->setDefaultWidget(calendar);
    calendarMenu->addAction(calendarItem);
    parts->addWidget(calendarButton);
    connect(calendarButton, &QToolButton::clicked, calendarMenu, [calendarButton, calendarMenu] {
        calendarMenu->popup(calendarButton->mapToGlobal(QPoint(0, calendarButton->height())));
    });

    connect(calendarMenu, &QMenu::aboutToShow, calendar, [&field, calendar] {
        calendar->setSelectedDate(field.date.isValid() ? field.date : QDate::currentDate());
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, &field, calendarMenu](QDate date) {
        calendarMenu->close();
        setDate(field, date);
        emit filterChanged();
    });
    connect(field.edit, &QLineEdit::textEdited, this, [this, &field] { dateTyped(field); });
    // Wrong text is shown as wrong once the user leaves it or presses
    // Enter, not at every key of a date half typed.
    connect(field.edit, &QLineEdit::editingFinished, this,
            [this, &field] { showDateWrong(field, !typedDate(field.edit->text()).isValid()); });
    setDate(field, QDate::currentDate());
}

void FilterBar::setDate(DateField& field, const QDate& date) {
    field.date = date;
    field.edit->setText(date.toString(kDateFormat));
    showDateWrong(field, false);
}

void FilterBar::dateTyped(DateField& field) {
    const QDate date = typedDate(field.edit->text());
    if (!date.isValid()) return;
    showDateWrong(field, false);
    if (date == field.date) return;
    field.date = date;
    emit filterChanged();
}

void FilterBar::showDateWrong(DateField& field, bool wrong) {
    if (field.edit->property("wrong").toBool() == wrong) return;
    field.edit->setProperty("wrong", wrong);
    QPalette colours = field.box->palette();
    if (wrong) {
        colours.setColor(QPalette::Base, QColor(0xff, 0xdd, 0xdd));
        colours.setColor(QPalette::Text, QColor(0xa0, 0x00, 0x00));
    }
    field.edit->setPalette(colours);
    field.edit->setToolTip(
        wrong ? tr("Not a date: type it as month-day-year, as in %1. The filter keeps %2.")
                    .arg(QDate(2026, 12, 3).toString(kDateFormat), field.date.toString(kDateFormat))
              : QString());
}

}  // namespace kestal
