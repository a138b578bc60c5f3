// Times sorting and filtering the calls of a log in the windowed program,
// offscreen unless a display is asked for (QT_QPA_PLATFORM):
//
//   sort_bench LOG [--runs N]
//
// - the grid's proxy alone (no view): a sort by each kind of column, and a
//   change of filter, against QSortFilterProxyModel doing the same with the
//   same keys and filter values read in advance;
// - the main window: a click on a title until the grid has repainted
//   (rising, falling, back to log order), a change in the filter bar until
//   the grid has repainted, and PageDown through the sorted, filtered grid
//   (median and longest frame).
//
// Each figure is the best of N runs (3 by default). Prints figures only; it
// asserts nothing.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QTimeEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/MainWindow.h"
#include "calls/CallValues.h"
#include "platform/Locale.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

// The same order with QSortFilterProxyModel: keys read once per sort, as
// ours are, then compared through lessThan with model indexes.
class ReferenceProxy : public QSortFilterProxyModel {
public:
    explicit ReferenceProxy(const CallTable& table) : table_(table) {}

    void sortBy(int column, Qt::SortOrder order) {
        keys_.clear();
        keys_.reserve(static_cast<std::size_t>(table_.rowCount()));
        for (int row = 0; row < table_.rowCount(); ++row)
            keys_.push_back(table_.sortKey(column, row));
        descending_ = order == Qt::DescendingOrder;
        // Sorted rising always; lessThan puts falling values first itself,
        // so cells without a value stay last.
        sort(column, Qt::AscendingOrder);
    }
    void filterBy(const CallFilter& filter) {
        filter_ = filter;
        invalidateFilter();
    }

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const auto& a = keys_[static_cast<std::size_t>(left.row())];
        const auto& b = keys_[static_cast<std::size_t>(right.row())];
        if (!a || !b) return a.has_value() && !b.has_value();
        return descending_ ? *a > *b : *a < *b;
    }
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        return !filter_.active() || passes(table_, row, filter_);
    }

private:
    const CallTable& table_;
    std::vector<std::optional<std::int64_t>> keys_;
    bool descending_ = false;
    CallFilter filter_;
};

struct Column {
    int column;
    const char* name;
};
constexpr Column kColumnsTimed[] = {{kStartTimeColumn, "Start Time"},
                                    {kDurationColumn, "Duration"},
                                    {kLcpColumn, "LCP"},
                                    {kBytesRxColumn, "Bytes Rx"},
                                    {kCrcErrorsColumn, "CRC Errors"}};

CallFilter errorsOnly() {
    CallFilter filter;
    filter.withErrors = true;
    return filter;
}

CallFilter longCalls() {
    CallFilter filter;
    filter.minDuration = 1800;
    return filter;
}

void benchProxies(MainWindow& window, std::uint64_t size, int runs) {
    const CallTable& table = window.state().table;
    ShownCallsProxy& ours = *window.viewControls()->proxy();
    ReferenceProxy reference(table);
    reference.setSourceModel(window.model());

    for (const Column& c : kColumnsTimed) {
        Timing qt;
        for (int run = 0; run < runs; ++run) {
            reference.sort(-1);  // or the same sort again would do nothing
            const Timing one = bestOf(1, [&] { reference.sortBy(c.column, Qt::AscendingOrder); });
            qt = {std::min(qt.wall, one.wall), std::min(qt.cpu, one.cpu)};
        }
        reference.sort(-1);
        // A sort by another column first, so that the values are read again.
        Timing fresh, flipped;
        for (int run = 0; run < runs; ++run) {
            ours.setSortOrder(SortOrder{c.column == 0 ? 1 : 0, SortDirection::Ascending});
            const Timing one = bestOf(1, [&] {
                ours.setSortOrder(SortOrder{c.column, SortDirection::Ascending});
            });
            const Timing other = bestOf(1, [&] {
                ours.setSortOrder(SortOrder{c.column, SortDirection::Descending});
            });
            fresh = {std::min(fresh.wall, one.wall), std::min(fresh.cpu, one.cpu)};
            flipped = {std::min(flipped.wall, other.wall), std::min(flipped.cpu, other.cpu)};
        }
        printFigure(std::string("proxy: sort by ") + c.name, fresh, size, qt,
                    "QSortFilterProxyModel");
        printFigure("  the other way round", flipped, size);
    }
    ours.setSortOrder(std::nullopt);

    ours.setSortOrder(SortOrder{kDurationColumn, SortDirection::Descending});
    reference.sortBy(kDurationColumn, Qt::DescendingOrder);
    ours.setFilter(errorsOnly());
    reference.filterBy(errorsOnly());
    const Timing qt = bestOf(runs, [&] {
        reference.filterBy(longCalls());
        reference.filterBy(errorsOnly());
    });
    const Timing own = bestOf(runs, [&] {
        ours.setFilter(longCalls());
        ours.setFilter(errorsOnly());
    });
    printFigure("proxy: two filter changes", own, size, qt, "QSortFilterProxyModel");
    std::printf("  %d of %d calls with errors\n", ours.rowCount(), table.callCount());
    ours.setFilter({});
    ours.setSortOrder(std::nullopt);
}

CallGrid& gridOf(MainWindow& window) { return childOf<CallGrid>(window, "Grid1"); }

// One frame: the step, then a full repaint of the grid.
double frame(MainWindow& window, const std::function<void()>& step) {
    QWidget* cells = gridOf(window).viewport();
    const auto start = Clock::now();
    step();
    QApplication::processEvents();
    cells->repaint();
    return secondsSince(start);
}

void benchWindowSort(MainWindow& window, std::uint64_t size, int runs) {
    QHeaderView* titles = gridOf(window).horizontalHeader();
    gridOf(window).selectRow(gridOf(window).model()->rowCount() / 2);
    for (const Column& c : kColumnsTimed) {
        Timing up, down, back;
        for (int run = 0; run < runs; ++run) {
            // Another column first, so that the values are read again.
            titles->setSortIndicator(c.column == 0 ? 1 : 0, Qt::AscendingOrder);
            up.wall = std::min(up.wall, frame(window, [&] {
                                   titles->setSortIndicator(c.column, Qt::AscendingOrder);
                               }));
            down.wall = std::min(down.wall, frame(window, [&] {
                                     titles->setSortIndicator(c.column, Qt::DescendingOrder);
                                 }));
            back.wall =
                std::min(back.wall, frame(window, [&] { window.viewControls()->showLogOrder(); }));
        }
        std::printf("window: sort by %-10s rising %6.1f ms, falling %6.1f ms, log order %6.1f ms\n",
                    c.name, up.wall * 1e3, down.wall * 1e3, back.wall * 1e3);
    }
    (void)size;
}

void benchWindowFilter(MainWindow& window, int runs) {
    CallViewControls& shown = *window.viewControls();
    FilterBar& bar = childOf<FilterBar>(window, "FilterBar");
    QCheckBox& errors = childOf<QCheckBox>(bar, "ErrorsCheck");
    QCheckBox& minDuration = childOf<QCheckBox>(bar, "MinDurationCheck");
    gridOf(window).horizontalHeader()->setSortIndicator(kStartTimeColumn, Qt::DescendingOrder);
    const double open = frame(window, [&] { shown.showFilterBar(true); });
    const double first = frame(window, [&] { errors.setChecked(true); });
    std::printf("window: filter bar shown %.1f ms, first filter (reads the calls) %.1f ms\n",
                open * 1e3, first * 1e3);
    double errorsOff = 1e9, errorsOn = 1e9, duration = 1e9, both = 1e9;
    childOf<QTimeEdit>(bar, "MinDuration").setTime(QTime(0, 30, 0));
    for (int run = 0; run < runs; ++run) {
        errorsOff = std::min(errorsOff, frame(window, [&] { errors.setChecked(false); }));
        duration = std::min(duration, frame(window, [&] { minDuration.setChecked(true); }));
        both = std::min(both, frame(window, [&] { errors.setChecked(true); }));
        errorsOn = std::min(errorsOn, frame(window, [&] { minDuration.setChecked(false); }));
    }
    std::printf(
        "window: filter change: errors off %.1f ms, duration on %.1f ms, errors on %.1f ms, "
        "duration off %.1f ms\n",
        errorsOff * 1e3, duration * 1e3, both * 1e3, errorsOn * 1e3);
}

// PageDown from the first row, a full repaint after each: median and
// longest frame.
std::pair<double, double> pageDownFrames(MainWindow& window) {
    CallGrid* grid = &gridOf(window);
    grid->setFocus();
    grid->selectRow(0);
    std::vector<double> frames;
    for (int page = 0; page < 300; ++page) {
        frames.push_back(frame(window, [grid] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(grid, &press);
        }));
    }
    std::sort(frames.begin(), frames.end());
    return {frames[frames.size() / 2], frames.back()};
}

void benchPaging(MainWindow& window) {
    const int rows = gridOf(window).model()->rowCount();
    const auto [median, longest] = pageDownFrames(window);
    CallViewControls& shown = *window.viewControls();
    shown.showFilterBar(false);
    gridOf(window).horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    const auto [plainMedian, plainLongest] = pageDownFrames(window);
    std::printf(
        "window: PageDown, sorted and filtered (%d rows): median %.2f ms, longest %.2f ms; "
        "in log order, every call: median %.2f ms, longest %.2f ms\n",
        rows, median * 1e3, longest * 1e3, plainMedian * 1e3, plainLongest * 1e3);
}

void benchLog(const std::string& log, int runs) {
    const std::uint64_t size = fileSize(log);
    WindowsFolder folder(log);
    ::setenv("WINDIR", folder.path().c_str(), 1);
    QtPlatform platform;
    // The warnings about corrupt calls are answered at once.
    platform.setDialogRunner([](QDialog&) { return 0; });
    const auto start = Clock::now();
    MainWindow window(platform);
    AboutBox about;
    CallDetailsWindow details(platform);
    window.useWindows(about, details);
    window.resize(1024, 768);
    window.show();
    QApplication::processEvents();
    std::printf("log %s: %ju bytes, %d calls, window ready in %.3f s\n", log.c_str(),
                static_cast<std::uintmax_t>(size), window.state().table.callCount(),
                secondsSince(start));
    printHeading();
    benchProxies(window, size, runs);
    benchWindowSort(window, size, runs);
    benchWindowFilter(window, runs);
    benchPaging(window);
}

}  // namespace

int main(int argc, char* argv[]) {
    const BenchArguments arguments(argc, argv, "sort_bench LOG [--runs N]");
    const std::string& log = arguments.requiredLog();
    const BenchApplication application(argv);
    benchLog(log, arguments.runs());
    return 0;
}
