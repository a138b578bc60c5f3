// The main window's ways to a log besides File > Open: File > Recent Logs,
// a file dropped on the window, View > Reload; and View > Follow.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <optional>

#include "app/JournalWatch.h"
#include "app/LogWatch.h"
#include "app/MainWindow.h"
#include "calls/CallScan.h"
#include "commands/CallCountText.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/OpenJournal.h"
#include "commands/ReloadLog.h"
#include "platform/Errors.h"
#include "platform/QuietPlatform.h"
#include "platform/qt/TranslatedText.h"

namespace kestal {

namespace {

// Right of the call count in the status bar.
constexpr int kFollowStatusLeft = 120;

// The local files, not folders, that a drag carries: several are read as
// one log. Nothing when it carries anything else.
std::optional<std::vector<std::string>> draggedLogs(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).isDir()) return std::nullopt;
        paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    if (paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace

void MainWindow::createLogMenus() {
    QAction* copy = fileMenu_->findChild<QAction*>(QStringLiteral("Copy1"));
    // Open System Journal right below Open, its periods in a menu of their
    // own.
    journalMenu_ = new QMenu(tr("Open System &Journal"), fileMenu_);
    journalMenu_->setObjectName(QStringLiteral("OpenSystemJournal1"));
    fileMenu_->insertMenu(copy, journalMenu_);
    const struct {
        const char* name;
        const char* caption;
        commands::JournalPeriod period;
    } periods[] = {
        {"JournalDay1", QT_TR_NOOP("Last &24 Hours"), commands::JournalPeriod::Day},
        {"JournalWeek1", QT_TR_NOOP("Last &7 Days"), commands::JournalPeriod::Week},
        {"JournalMonth1", QT_TR_NOOP("Last &30 Days"), commands::JournalPeriod::Month},
        {"JournalAll1", QT_TR_NOOP("&Everything"), commands::JournalPeriod::Everything},
    };
    for (const auto& period : periods) {
        QAction* action = journalMenu_->addAction(tr(period.caption));
        action->setObjectName(QString::fromLatin1(period.name));
        connect(action, &QAction::triggered, this,
                [this, chosen = period.period] { openSystemJournal(chosen); });
    }

    // Recent Logs below them.
    recentLogsMenu_ = new QMenu(tr("Recent &Logs"), fileMenu_);
    recentLogsMenu_->setObjectName(QStringLiteral("RecentLogs1"));
    fileMenu_->insertMenu(copy, recentLogsMenu_);
    recentLogs_ = std::make_unique<RecentLogs>();
    fillRecentLogsMenu();

    reloadAction_ = viewMenu_->addAction(tr("&Reload"));
    reloadAction_->setObjectName(QStringLiteral("Reload1"));
    reloadAction_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(reloadAction_, &QAction::triggered, this, &MainWindow::reloadLog);
    followAction_ = viewMenu_->addAction(tr("&Follow"));
    followAction_->setObjectName(QStringLiteral("Follow1"));
    followAction_->setCheckable(true);
    connect(followAction_, &QAction::toggled, this, &MainWindow::setFollowing);

    logWatch_ = new LogWatch(this);
    connect(logWatch_, &LogWatch::mayHaveChanged, this, &MainWindow::followLog);
    journalWatch_ = new JournalWatch(this);
    connect(journalWatch_, &JournalWatch::mayHaveChanged, this, &MainWindow::followLog);
}

void MainWindow::fillRecentLogsMenu() {
    recentLogsMenu_->clear();
    int number = 0;
    for (const std::string& path : recentLogs_->paths()) {
        const std::vector<std::string> files = filesOfRecentEntry(path);
        if (files.empty()) continue;
        // Several files read as one log go by the newest, the last read.
        QString name = QFile::decodeName(QByteArray::fromStdString(files.back()));
        if (files.size() > 1) name += QStringLiteral(" + %1 more").arg(files.size() - 1);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry =
            recentLogsMenu_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        connect(entry, &QAction::triggered, this, [this, path] { openRecentLog(path); });
    }
    recentLogsMenu_->setEnabled(!recentLogs_->paths().empty());
}

void MainWindow::logChosen(bool byUser) {
    // A journal goes on the list as one journal file; the system's journal
    // is opened from its own menu.
    const bool read = state_.journal ? state_.journal->lines && !state_.logPath.empty()
                      : state_.joinedPaths.empty() ? state_.readMark.known
                                                   : state_.joinedRead;
    if (byUser && read) {
        recentLogs_->add(state_.joinedPaths.empty() ? state_.logPath
                                                    : recentEntryOf(state_.joinedPaths));
        fillRecentLogsMenu();
    }
    const bool shown = !state_.logPath.empty() || state_.journal;
    reloadAction_->setEnabled(shown);
    followAction_->setEnabled(shown);
    if (followAction_->isChecked()) startFollowing();
}

void MainWindow::openSystemJournal(commands::JournalPeriod period) {
    command([this, period] {
        commands::openSystemJournal(state_, platform_, view_, period);
        logChosen(true);
    });
}

void MainWindow::openRecentLog(const std::string& entry) {
    command([this, &entry] {
        const std::vector<std::string> files = filesOfRecentEntry(entry);
        for (const std::string& path : files) {
            std::error_code error;
            if (!std::filesystem::exists(path, error) && !error) {
                platform_.messageDlg(missingRecentLogText(path), DialogType::Error,
                                     DialogButtons::Ok);
                recentLogs_->remove(entry);
                fillRecentLogsMenu();
                return;
            }
        }
        if (files.size() > 1) {
            commands::openLogFiles(state_, platform_, view_, files);
            logChosen(true);
        } else if (commands::openOtherLog(state_, platform_, view_, entry)) {
            logChosen(true);
        }
    });
}

void MainWindow::openDroppedLog(const std::string& path) {
    command([this, &path] {
        if (commands::openOtherLog(state_, platform_, view_, path)) logChosen(true);
    });
}

void MainWindow::openDroppedLogs(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        openDroppedLog(paths.front());
        return;
    }
    command([this, &paths] {
        commands::openLogFiles(state_, platform_, view_, paths);
        logChosen(true);
    });
}

void MainWindow::reloadLog() {
    command([this] {
        readAgainKeepingSelection(platform_);
        if (followAction_->isChecked()) startFollowing();
    });
}

void MainWindow::readAgainKeepingSelection(Platform& platform) {
    const int row = state_.table.currentRow();
    const std::string startTime(
        row >= 0 && row < state_.table.rowCount() ? state_.table.cell(Column::StartTime, row) : "");
    // F5 in the grid leaves the focus there, unlike an Open.
    const bool gridFocused = callGrid_->hasFocus();
    commands::reloadLog(state_, platform, view_);
    if (const int found = rowOfCall(state_.table, startTime, row); found >= 0)
        view_.selectTableRow(found);
    if (gridFocused) callGrid_->setFocus();
}

void MainWindow::setFollowing(bool checked) {
    if (checked) {
        startFollowing();
        // What the log gained since it was read comes at once.
        followLog();
    } else {
        logWatch_->stop();
        journalWatch_->stop();
        if (followStatus_) followStatus_->hide();
    }
}

void MainWindow::startFollowing() {
    follower_.start();
    followReadFailed_ = false;
    logWatch_->stop();
    journalWatch_->stop();
    if (state_.journal)
        journalWatch_->watch(state_.journal->lines);
    else
        logWatch_->watch(state_.logPath);
    showFollowStatus();
}

void MainWindow::followLog() {
    // Not in the middle of a command: a dialog of its own, or a repair
    // letting events through.
    if (!followAction_->isChecked() || view_.inputBlocked() || QApplication::activeModalWidget())
        return;
    runCommand(platform_, [this] {
        LogGrowth growth;
        LogChange change = LogChange::None;
        try {
            change = follower_.look(state_, platform_.regionalSettings(), growth);
        } catch (const CommandError&) {
            // A journal that can't be read on (a file cut short under the
            // library) is said in the follow status, not in a dialog at
            // each look.
            if (!state_.journal) throw;
            followReadFailed_ = true;
            showFollowStatus();
            return;
        }
        switch (change) {
            case LogChange::None:
                return;
            case LogChange::Grew:
                showGrowth(growth);
                break;
            case LogChange::Rewritten:
                readFollowedLogAgain();
                break;
        }
        showFollowStatus();
    });
}

void MainWindow::showGrowth(LogGrowth& growth) {
    followReadFailed_ = false;
    if (growth.calls.callCount() == 0) return;
    const int selected = state_.table.currentRow();
    const bool lastSelected = selected == state_.table.rowCount() - 1;
    model_->replaceRowsFrom(growth.firstRow, growth.firstRow + growth.calls.callCount(),
                            [&] { takeGrowth(state_, growth); });
    if (lastSelected)
        view_.selectTableRow(state_.table.rowCount() - 1);
    else
        state_.table.setCurrentRow(selected);
    if (const std::optional<std::string> count = commands::countText(state_))
        view_.setStatusText(*count);
}

void MainWindow::readFollowedLogAgain() {
    QuietPlatform quiet(platform_);
    readAgainKeepingSelection(quiet);
    follower_.readWhole(quiet.count(kCorruptLogWarning));
    followReadFailed_ = quiet.failed();
}

void MainWindow::showFollowStatus() {
    if (!followStatus_) {
        followStatus_ = new QLabel(statusInset_);
        followStatus_->setObjectName(QStringLiteral("FollowStatus"));
        followStatus_->setTextFormat(Qt::PlainText);
        followStatus_->setFont(statusLabel_->font());
        // The repair's gauge, when a Reload repairs, lies over it.
        repairGauge_->raise();
    }
    // Right of the count, however long it is.
    followStatus_->move(std::max(kFollowStatusLeft, statusLabel_->x() + statusLabel_->width() + 12),
                        1);
    followStatus_->setText(QString::fromStdString(followStatusText(
        follower_.corruptCalls(), state_.lines.endsAtNul(), followReadFailed_,
        [](std::string_view text) { return translatedText(text).toStdString(); })));
    followStatus_->adjustSize();
    followStatus_->show();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!view_.inputBlocked() && draggedLogs(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<std::vector<std::string>> paths = draggedLogs(event->mimeData());
    if (!paths) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Loading asks questions in modal dialogs: not while the desktop waits
    // for the drop to end.
    QTimer::singleShot(0, this, [this, dropped = *paths] { openDroppedLogs(dropped); });
}

}  // namespace kestal
