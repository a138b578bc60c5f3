// Times the windowed program on a log file, offscreen unless a display is
// asked for (QT_QPA_PLATFORM):
//
//   window_bench LOG [--nul NULLOG] [--runs N] [--ready-only]
//
// - the main window opening LOG as the system log until the grid is ready
//   (created, shown, first paint), against load + scan without a window;
// - scrolling: to the last row and back, PageDown from the first row to the
//   last with a full repaint after every key (median and longest frame),
//   Ctrl+End and Ctrl+Home;
// - Show Call Details of the last call, into the details window;
// - with --nul, File > Open of NULLOG answered Yes to the repair question:
//   the repair (busy cursor on to off) against tr -d '\000', and the whole
//   command.
//
// --ready-only times the grid ready alone (no reference load beside it, so
// that the peak memory is the window's). Each figure is the best of N runs (3 by default). Prints
// figures only; it asserts nothing.
#include <stdlib.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/MainWindow.h"
#include "calls/CallScan.h"
#include "lines/LogLines.h"
#include "platform/Locale.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

// The program's own Qt platform, with every message dialog answered at once
// (Yes to a question, OK otherwise) by pressing its button, and the open
// dialog answered with the file to open; notes how long the message dialogs
// and the repair took and how often the event pump ran.
class BenchPlatform : public QtPlatform {
public:
    BenchPlatform() {
        setDialogRunner([](QDialog& dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
                for (QAbstractButton* button : box->buttons()) {
                    const QMessageBox::ButtonRole role = box->buttonRole(button);
                    if (role == QMessageBox::YesRole || role == QMessageBox::AcceptRole) {
                        button->click();
                        break;
                    }
                }
            }
            return int(QDialog::Accepted);
        });
    }

    std::string fileToOpen;
    long dialogs = 0;
    double dialogSeconds = 0;
    long pumps = 0;
    double repairSeconds = 0;
    double repairCpuSeconds = 0;

    DialogResult messageDlg(std::string_view text, DialogType type,
                            DialogButtons buttons) override {
        ++dialogs;
        if (buttons == DialogButtons::YesNo) repairAsked_ = true;
        const auto start = Clock::now();
        const DialogResult result = QtPlatform::messageDlg(text, type, buttons);
        dialogSeconds += secondsSince(start);
        return result;
    }
    void showErrorReport(std::string_view text) override {
        std::fprintf(stderr, "error report: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool executeFileDialog(FileDialog& dialog) override {
        if (fileToOpen.empty()) return false;
        dialog.fileName = fileToOpen;
        return true;
    }
    // The repair runs under the busy cursor that follows the question.
    void setBusyCursor(bool busy) override {
        if (busy && repairAsked_ && !repairing_) {
            repairing_ = true;
            repairStart_ = Clock::now();
            repairCpuStart_ = processCpuSeconds();
        } else if (!busy && repairing_) {
            repairing_ = false;
            repairAsked_ = false;
            repairSeconds = secondsSince(repairStart_);
            repairCpuSeconds = processCpuSeconds() - repairCpuStart_;
        }
        QtPlatform::setBusyCursor(busy);
    }
    void processMessages() override {
        ++pumps;
        QtPlatform::processMessages();
    }

private:
    bool repairAsked_ = false;
    bool repairing_ = false;
    Clock::time_point repairStart_;
    double repairCpuStart_ = 0;
};

// One frame: the step, then a full repaint of the grid.
double frame(MainWindow& window, const std::function<void()>& step) {
    const auto start = Clock::now();
    step();
    childOf<CallGrid>(window, "Grid1").viewport()->repaint();
    return secondsSince(start);
}

void sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

Timing referenceLoadAndScan(const std::string& log, int runs) {
    LogLines lines;
    CallTable table{kDialUpColumns};
    return bestOf(runs, [&] {
        readLogFile(log, lines);
        table.reset();
        scanCalls(lines, table, localeRegionalSettings(), [](std::string_view) {});
    });
}

void benchScrolling(MainWindow& window) {
    CallGrid* grid = &childOf<CallGrid>(window, "Grid1");
    const int rows = grid->model()->rowCount();
    const double down = frame(window, [grid] { grid->scrollToBottom(); });
    const double up = frame(window, [grid] { grid->scrollToTop(); });
    std::printf("  scroll to the last row %.1f ms, back to the first %.1f ms\n", down * 1e3,
                up * 1e3);

    window.view().selectFirstRow();
    grid->setFocus();
    std::vector<double> frames;
    const auto start = Clock::now();
    while (grid->currentIndex().row() < rows - 1) {
        const int before = grid->currentIndex().row();
        frames.push_back(frame(window, [grid] { sendKey(grid, Qt::Key_PageDown); }));
        if (grid->currentIndex().row() == before) break;
    }
    const double total = secondsSince(start);
    std::vector<double> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    const double longest = sorted.empty() ? 0 : sorted.back();
    const int perPage = std::max(1, grid->viewport()->height() / CallGrid::kRowHeight);
    std::printf(
        "window: page down, first to last row: %zu frames in %.3f s, median %.2f ms, longest %.2f "
        "ms (of %d "
        "rows, %d per page)\n",
        frames.size(), total, median * 1e3, longest * 1e3, rows, perPage);

    const double end = frame(window, [grid] { sendKey(grid, Qt::Key_End, Qt::ControlModifier); });
    const double home = frame(window, [grid] { sendKey(grid, Qt::Key_Home, Qt::ControlModifier); });
    std::printf("  Ctrl+End %.1f ms, Ctrl+Home %.1f ms\n", end * 1e3, home * 1e3);
}

void benchWindow(const std::string& log, const std::string& nulLog, int runs, bool readyOnly) {
    const std::uint64_t size = fileSize(log);
    std::printf("log %s: %ju bytes\n", log.c_str(), static_cast<std::uintmax_t>(size));
    const Timing reference = readyOnly ? Timing{} : referenceLoadAndScan(log, runs);
    if (!readyOnly) printFigure("load + scan, no window", reference, size);

    // The Windows directory, as the program finds it.
    WindowsFolder folder(log);
    ::setenv("WINDIR", folder.path().c_str(), 1);
    BenchPlatform platform;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<AboutBox> about;
    std::unique_ptr<CallDetailsWindow> details;
    // The window before is gone before the clock starts: a start frees
    // nothing.
    auto close = [&] {
        details.reset();
        about.reset();
        window.reset();
    };
    auto open = [&] {
        platform.dialogs = 0;
        platform.dialogSeconds = 0;
        window = std::make_unique<MainWindow>(platform);
        platform.setMainWindow(window.get());
        about = std::make_unique<AboutBox>();
        details = std::make_unique<CallDetailsWindow>(platform);
        window->useWindows(*about, *details);
        window->resize(1024, 768);
        window->show();
        QApplication::processEvents();
        childOf<CallGrid>(*window, "Grid1").viewport()->repaint();
    };
    Timing ready;
    long firstPeak = 0;
    long firstResident = 0;
    long idleResident = 0;
    for (int run = 0; run < runs; ++run) {
        close();
        const Timing one = bestOf(1, open);
        ready = {std::min(ready.wall, one.wall), std::min(ready.cpu, one.cpu)};
        if (run == 0) {
            firstPeak = peakResidentKiB();
            firstResident = residentKiB();
            // What the window reads ahead while the user looks (the calls'
            // values for the filter, Statistics and Trends).
            const auto idleStart = Clock::now();
            while (secondsSince(idleStart) < 2)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
            idleResident = residentKiB();
        }
    }
    printFigure("window: grid ready", ready, size, reference, "load + scan");
    // Later runs' peaks add what the allocator kept of the windows before.
    std::printf(
        "window: peak resident size after one load: %ld KiB (%.2fx the log), %ld KiB resident "
        "once loaded, %ld KiB (%.2fx) after 2 s idle\n",
        firstPeak, static_cast<double>(firstPeak) * 1024 / static_cast<double>(size), firstResident,
        idleResident, static_cast<double>(idleResident) * 1024 / static_cast<double>(size));
    std::printf("  %d rows in the grid, %d calls in the table, %ld dialogs answered in %.3f s\n",
                window->model()->rowCount(), window->state().table.callCount(), platform.dialogs,
                platform.dialogSeconds);
    if (platform.dialogs > 0)
        printFigure("window: grid ready, no dialogs",
                    {ready.wall - platform.dialogSeconds, ready.cpu - platform.dialogSeconds}, size,
                    reference, "load + scan");
    if (readyOnly) return;

    benchScrolling(*window);

    const int last = window->state().table.rowCount() - 1;
    const Timing detailsTime = bestOf(runs, [&] {
        childOf<CallGrid>(*window, "Grid1").selectRow(last);
        window->showCallDetails();
    });
    printFigure("window: Show Call Details, last", detailsTime, size);
    // The row as the user counts the calls, from 1.
    std::printf("  row %d, %zu lines in the details window\n", last + 1, details->lines().size());

    if (nulLog.empty()) return;
    const std::uint64_t nulSize = fileSize(nulLog);
    std::printf("log with NUL bytes %s: %ju bytes\n", nulLog.c_str(),
                static_cast<std::uintmax_t>(nulSize));
    const std::string repaired = folder.path() + "/tr-output";
    const Timing tr = referenceCommand(
        runs, "tr -d '\\000' < " + shellQuoted(nulLog) + " > " + shellQuoted(repaired));
    printFigure("reference: tr -d '\\000'", tr, nulSize);

    platform.fileToOpen = nulLog;
    Timing repair;
    const Timing openTime = bestOf(runs, [&] {
        platform.pumps = 0;
        window->openLog();
        repair.wall = std::min(repair.wall, platform.repairSeconds);
        repair.cpu = std::min(repair.cpu, platform.repairCpuSeconds);
    });
    printFigure("window: NUL repair", repair, nulSize, tr, "tr -d '\\000'");
    printFigure("window: File > Open with repair", openTime, nulSize);
    std::printf("  %ld event pumps, %d calls after the repair\n", platform.pumps,
                window->state().table.callCount());
}

}  // namespace

int main(int argc, char* argv[]) {
    const BenchArguments arguments(argc, argv,
                                   "window_bench LOG [--nul NULLOG] [--runs N] [--ready-only]",
                                   {"--nul"}, {"--ready-only"});
    const std::string& log = arguments.requiredLog();
    const BenchApplication application(argv);
    printHeading();
    benchWindow(log, arguments.value("--nul").value_or(""), arguments.runs(),
                arguments.flag("--ready-only"));
    return 0;
}
