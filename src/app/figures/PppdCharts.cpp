#include "app/figures/PppdCharts.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "output/CallTrends.h"

namespace kestal {

// The charts' texts in the user's language.
struct PppdCharts {
    Q_DECLARE_TR_FUNCTIONS(kestal::PppdCharts)
};

namespace {

constexpr double kSecondsPerDay = 86400;
constexpr int kHistogramBins = 50;
const QColor kOnline(31, 119, 180);
const QColor kDrops(214, 39, 40);
const QColor kFailed(255, 127, 14);

QCPBars* barsIn(QCPAxisRect* plot, const QColor& colour, double width, const QString& name) {
    auto* bars = new QCPBars(plot->axis(QCPAxis::atBottom), plot->axis(QCPAxis::atLeft));
    bars->setWidth(width);
    bars->setPen(Qt::NoPen);
    bars->setBrush(colour);
    bars->setName(name);
    return bars;
}

double largestOf(const std::vector<double>& values) {
    double largest = 0;
    for (const double value : values) largest = std::max(largest, std::isnan(value) ? 0 : value);
    return largest;
}

QCPLegend* legendIn(QCPAxisRect* plot) {
    auto* legend = new QCPLegend;
    plot->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setLayer(QStringLiteral("legend"));
    return legend;
}

}  // namespace

QString weekdayName(int weekday) {
    static const char* const kNames[] = {QT_TRANSLATE_NOOP("kestal::PppdCharts", "Mon"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Tue"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Wed"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Thu"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Fri"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Sat"),
                                         QT_TRANSLATE_NOOP("kestal::PppdCharts", "Sun")};
    return weekday >= 0 && weekday < kWeekdays
               ? QCoreApplication::translate("kestal::PppdCharts", kNames[weekday])
               : QString();
}

TrendChart* makePppdPerDayChart(QWidget* parent) {
    auto* chart = new TrendChart(true, parent);
    chart->setObjectName(QStringLiteral("PerDayChart"));
    chart->addPlot(PppdCharts::tr("Online time (h)"));
    chart->addPlot(PppdCharts::tr("Drops and failed attempts"));
    chart->useTimeAxis();
    chart->plots().back()->axis(QCPAxis::atBottom)->setLabel(PppdCharts::tr("Day"));
    return chart;
}

void PppdDayBars::add(QCPBars* bars, const std::vector<double>& days, double shift,
                      const std::vector<double>& values) {
    Series series{bars, {}, &values, ChartView{0, 0, 0, 0, 0, 0}, {}};
    for (const double day : days) series.keys.push_back(day + shift);
    std::vector<std::size_t> every(days.size());
    std::iota(every.begin(), every.end(), std::size_t{0});
    draw(series, std::move(every));
    series_.push_back(std::move(series));
}

void PppdDayBars::draw(Series& series, std::vector<std::size_t> days) {
    QVector<QCPBarsData> data;
    data.reserve(static_cast<qsizetype>(days.size()));
    for (const std::size_t d : days) data.append({series.keys[d], (*series.values)[d]});
    series.bars->data()->set(data, true);
    series.drawn = std::move(days);
}

void PppdDayBars::thin() {
    for (Series& series : series_) {
        const QCPAxis* x = series.bars->keyAxis();
        const ChartView view{x->range().lower, x->range().upper, 0, 1, x->axisRect()->width(), 1};
        if (view.xFrom == series.view.xFrom && view.xTo == series.view.xTo &&
            view.width == series.view.width)
            continue;
        series.view = view;
        draw(series, barsToDraw(series.keys, *series.values, view));
    }
}

int PppdDayBars::dayOf(const QCPAbstractPlottable* bars, int index) const {
    for (const Series& series : series_) {
        if (series.bars != bars) continue;
        if (index < 0 || static_cast<std::size_t>(index) >= series.drawn.size()) return -1;
        return static_cast<int>(series.drawn[static_cast<std::size_t>(index)]);
    }
    return -1;
}

PppdDayBars fillPppdPerDayChart(TrendChart& chart, const PppdTrends& trends) {
    chart.clearPlottables();
    const auto& plots = chart.plots();
    PppdDayBars made;
    // Each day's bars stand over its noon, between its midnights.
    constexpr double noon = kSecondsPerDay / 2;
    QCPBars* online =
        barsIn(plots[0], kOnline, kSecondsPerDay * 0.8, PppdCharts::tr("Online time"));
    made.add(online, trends.days, noon, trends.dayOnlineHours);
    fitYToValues(plots[0]->axis(QCPAxis::atLeft), largestOf(trends.dayOnlineHours));

    // Side by side within the day: drops on its left half, failed attempts
    // on its right.
    const double half = kSecondsPerDay * 0.4;
    QCPBars* drops = barsIn(plots[1], kDrops, half, PppdCharts::tr("Drops"));
    made.add(drops, trends.days, noon - half / 2, trends.dayDrops);
    QCPBars* failed = barsIn(plots[1], kFailed, half, PppdCharts::tr("Failed attempts"));
    made.add(failed, trends.days, noon + half / 2, trends.dayFailedAttempts);
    if (plots[1]->insetLayout()->elementCount() == 0) {
        QCPLegend* legend = legendIn(plots[1]);
        drops->addToLegend(legend);
        failed->addToLegend(legend);
    } else if (auto* legend = qobject_cast<QCPLegend*>(plots[1]->insetLayout()->elementAt(0))) {
        drops->addToLegend(legend);
        failed->addToLegend(legend);
    }
    fitYToValues(plots[1]->axis(QCPAxis::atLeft),
                 std::max(largestOf(trends.dayDrops), largestOf(trends.dayFailedAttempts)));

    const double first = trends.days.empty() ? 0 : trends.days.front();
    const double last = trends.days.empty() ? 0 : trends.days.back();
    chart.showXLabels(!trends.days.empty());
    for (QCPAxisRect* plot : plots)
        chart.setHomeRange(plot, QCPRange(first - kSecondsPerDay / 2, last + kSecondsPerDay * 1.5));
    chart.showHomeRange();
    return made;
}

TrendChart* makePppdPerSessionChart(QWidget* parent) {
    auto* chart = new TrendChart(true, parent);
    chart->setObjectName(QStringLiteral("PerSessionChart"));
    chart->addPlot(PppdCharts::tr("Session duration (h)"));
    chart->useTimeAxis();
    chart->plots()
        .back()
        ->axis(QCPAxis::atBottom)
        ->setLabel(PppdCharts::tr("Start of the session"));
    return chart;
}

TrendChart* makePppdHistogramChart(QWidget* parent) {
    auto* chart = new TrendChart(false, parent);
    chart->setObjectName(QStringLiteral("HistogramChart"));
    chart->addPlot(PppdCharts::tr("Sessions"));
    return chart;
}

void fillPppdHistogramChart(TrendChart& chart, const PppdTrends& trends) {
    chart.clearPlottables();
    QCPAxisRect* plot = chart.plots().front();
    float largest = 0;
    for (const float duration : trends.durations) largest = std::max(largest, duration);
    // Hours when some session lasted a good part of a day, else minutes.
    const bool hours = largest > 5 * 3600;
    const double unit = hours ? 3600 : 60;
    plot->axis(QCPAxis::atBottom)
        ->setLabel(hours ? PppdCharts::tr("Session length (h)")
                         : PppdCharts::tr("Session length (min)"));
    const Histogram lengths = histogram(trends.durations, kHistogramBins, 1.0);
    QVector<double> middles, counts;
    for (std::size_t i = 0; i < lengths.counts.size(); ++i) {
        middles.append((i + 0.5) * lengths.binWidth / unit);
        counts.append(lengths.counts[i]);
    }
    barsIn(plot, kOnline, lengths.binWidth / unit * 0.9, PppdCharts::tr("Sessions"))
        ->setData(middles, counts, true);
    fitYToValues(plot->axis(QCPAxis::atLeft), largestOf(lengths.counts));
    chart.setHomeRange(
        plot, QCPRange(0, std::max<double>(1, lengths.counts.size()) * lengths.binWidth / unit));
    chart.showHomeRange();
}

TrendChart* makePppdDropMapChart(QWidget* parent) {
    auto* chart = new TrendChart(false, parent);
    chart->setObjectName(QStringLiteral("DropMapChart"));
    QCPAxisRect* plot = chart->addPlot(PppdCharts::tr("Drops by weekday and hour of day"));
    auto weekdays = QSharedPointer<QCPAxisTickerText>::create();
    for (int day = 0; day < kWeekdays; ++day) weekdays->addTick(day, weekdayName(day));
    plot->axis(QCPAxis::atBottom)->setTicker(weekdays);
    plot->axis(QCPAxis::atBottom)->setLabel(PppdCharts::tr("Weekday"));
    auto hours = QSharedPointer<QCPAxisTickerText>::create();
    for (int hour = 0; hour < kHoursPerDay; hour += 2)
        hours->addTick(hour, QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    QCPAxis* y = plot->axis(QCPAxis::atLeft);
    y->setTicker(hours);
    y->setLabel(PppdCharts::tr("Hour of day"));
    y->setRangeReversed(true);  // midnight at the top
    y->setRange(-0.5, kHoursPerDay - 0.5);
    return chart;
}

QCPColorMap* fillPppdDropMapChart(TrendChart& chart, const PppdTrends& trends) {
    chart.clearPlottables();
    QCPAxisRect* plot = chart.plots().front();
    auto* map = new QCPColorMap(plot->axis(QCPAxis::atBottom), plot->axis(QCPAxis::atLeft));
    map->setName(PppdCharts::tr("Drops"));
    map->data()->setSize(kWeekdays, kHoursPerDay);
    map->data()->setRange(QCPRange(0, kWeekdays - 1), QCPRange(0, kHoursPerDay - 1));
    double most = 0;
    for (int day = 0; day < kWeekdays; ++day) {
        for (int hour = 0; hour < kHoursPerDay; ++hour) {
            const double drops =
                trends.dropsByHour[static_cast<std::size_t>(day)][static_cast<std::size_t>(hour)];
            map->data()->setCell(day, hour, drops);
            most = std::max(most, drops);
        }
    }
    // White where there were none, deepening to dark red for the most.
    QCPColorGradient gradient;
    gradient.setColorStopAt(0, Qt::white);
    gradient.setColorStopAt(0.35, QColor(255, 200, 80));
    gradient.setColorStopAt(0.7, QColor(230, 80, 30));
    gradient.setColorStopAt(1, QColor(120, 0, 0));
    map->setGradient(gradient);
    map->setInterpolate(false);
    map->setDataRange(QCPRange(0, std::max(1.0, most)));
    chart.setHomeRange(plot, QCPRange(-0.5, kWeekdays - 0.5));
    chart.showHomeRange();
    return map;
}

bool dropMapCellAt(const QCPColorMap& map, const QPointF& pixel, int& weekday, int& hour) {
    double key = 0, value = 0;
    map.pixelsToCoords(pixel, key, value);
    weekday = static_cast<int>(std::lround(key));
    hour = static_cast<int>(std::lround(value));
    return key >= -0.5 && value >= -0.5 && weekday < kWeekdays && hour < kHoursPerDay;
}

}  // namespace kestal
