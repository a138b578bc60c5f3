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

#include "app/LogWatch.h"
#include "app/MainForm.h"
#include "log/CallScan.h"
#include "log/LogReload.h"
#include "platform/Errors.h"
#include "platform/QuietPlatform.h"

namespace kestal {

namespace {

// Right of the call count in the status bar.
constexpr int kFollowStatusLeft = 120;

// The one local file, not a folder, that a drag carries.
std::optional<std::string> draggedLog(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (QFileInfo(path).isDir()) return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void TfrmKestal::createLogMenus() {
    N3 = File1->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    RecentLogs1 = File1->addMenu(QStringLiteral("Recent &Logs"));
    RecentLogs1->setObjectName(QStringLiteral("RecentLogs1"));
    recentLogs_ = std::make_unique<RecentLogs>();
    fillRecentLogsMenu();

    Reload1 = View1->addAction(QStringLiteral("&Reload"));
    Reload1->setObjectName(QStringLiteral("Reload1"));
    Reload1->setShortcut(QKeySequence(Qt::Key_F5));
    connect(Reload1, &QAction::triggered, this, &TfrmKestal::Reload1Click);
    Follow1 = View1->addAction(QStringLiteral("&Follow"));
    Follow1->setObjectName(QStringLiteral("Follow1"));
    Follow1->setCheckable(true);
    connect(Follow1, &QAction::toggled, this, &TfrmKestal::Follow1Click);

    logWatch_ = new LogWatch(this);
    connect(logWatch_, &LogWatch::mayHaveChanged, this, &TfrmKestal::followLog);
}

void TfrmKestal::fillRecentLogsMenu() {
    RecentLogs1->clear();
    int number = 0;
    for (const std::string& path : recentLogs_->paths()) {
        QString name = QFile::decodeName(QByteArray::fromStdString(path));
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = RecentLogs1->addAction(QStringLiteral("&%1 %2").arg(++number).arg(name));
        connect(entry, &QAction::triggered, this, [this, path] { openRecentLog(path); });
    }
    RecentLogs1->setEnabled(!recentLogs_->paths().empty());
}

void TfrmKestal::logChosen(bool byUser) {
    if (byUser && state_.readMark.known) {
        recentLogs_->add(state_.LogPath);
        fillRecentLogsMenu();
    }
    Reload1->setEnabled(!state_.LogPath.empty());
    Follow1->setEnabled(!state_.LogPath.empty());
    if (Follow1->isChecked()) startFollowing();
}

void TfrmKestal::openRecentLog(const std::string& path) {
    command([this, &path] {
        std::error_code error;
        if (!std::filesystem::exists(path, error) && !error) {
            platform_.messageDlg(missingRecentLogText(path), DialogType::Error, DialogButtons::Ok);
            recentLogs_->remove(path);
            fillRecentLogsMenu();
            return;
        }
        openLogFile(state_, platform_, *this, path);
        logChosen(true);
    });
}

void TfrmKestal::openDroppedLog(const std::string& path) {
    command([this, &path] {
        openLogFile(state_, platform_, *this, path);
        logChosen(true);
    });
}

void TfrmKestal::Reload1Click() {
    command([this] {
        readAgainKeepingSelection(platform_);
        if (Follow1->isChecked()) startFollowing();
    });
}

void TfrmKestal::readAgainKeepingSelection(Platform& platform) {
    const int row = state_.table.currentRow();
    const std::string startTime(
        row >= 1 && row < state_.table.rowCount() ? state_.table.cell(0, row) : "");
    // F5 in the grid leaves the focus there, unlike an Open.
    const bool gridFocused = Grid1->hasFocus();
    reloadLog(state_, platform, *this);
    if (const int found = rowOfCall(state_.table, startTime, row)) selectTableRow(found);
    if (gridFocused) Grid1->setFocus();
}

void TfrmKestal::Follow1Click(bool checked) {
    if (checked) {
        startFollowing();
        // What the log gained since it was read comes at once.
        followLog();
    } else {
        logWatch_->stop();
        if (FollowStatus) FollowStatus->hide();
    }
}

void TfrmKestal::startFollowing() {
    follower_.start();
    followReadFailed_ = false;
    logWatch_->watch(state_.LogPath);
    showFollowStatus();
}

void TfrmKestal::followLog() {
    // Not in the middle of a command: a dialog of its own, or a repair
    // letting events through.
    if (!Follow1->isChecked() || inputBlocked_ || QApplication::activeModalWidget()) return;
    runCommand(platform_, [this] {
        LogGrowth growth;
        switch (follower_.look(state_, platform_.regionalSettings(), growth)) {
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

void TfrmKestal::showGrowth(const LogGrowth& growth) {
    followReadFailed_ = false;
    if (growth.calls.callCount() == 0) return;
    const int selected = state_.table.currentRow();
    const bool lastSelected = selected == state_.table.rowCount() - 1;
    model_->replaceRowsFrom(growth.firstRow, growth.firstRow + growth.calls.callCount(),
                            [&] { replaceCallsFrom(state_.table, growth); });
    if (lastSelected)
        selectTableRow(state_.table.rowCount() - 1);
    else
        state_.table.setCurrentRow(selected);
    if (const std::optional<std::string> count = callCountText(state_.table)) setStatusText(*count);
}

void TfrmKestal::readFollowedLogAgain() {
    QuietPlatform quiet(platform_);
    readAgainKeepingSelection(quiet);
    follower_.readWhole(quiet.count(kCorruptLogWarning));
    followReadFailed_ = quiet.failed();
}

void TfrmKestal::showFollowStatus() {
    if (!FollowStatus) {
        FollowStatus = new QLabel(Panel2);
        FollowStatus->setObjectName(QStringLiteral("FollowStatus"));
        FollowStatus->setTextFormat(Qt::PlainText);
        FollowStatus->setFont(Label1->font());
        FollowStatus->move(kFollowStatusLeft, 1);
        // The repair's gauge, when a Reload repairs, lies over it.
        Gauge1->raise();
    }
    FollowStatus->setText(QString::fromStdString(
        followStatusText(follower_.corruptCalls(), state_.lines.endsAtNul(), followReadFailed_)));
    FollowStatus->adjustSize();
    FollowStatus->show();
}

void TfrmKestal::dragEnterEvent(QDragEnterEvent* event) {
    if (!inputBlocked_ && draggedLog(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmKestal::dropEvent(QDropEvent* event) {
    const std::optional<std::string> path = draggedLog(event->mimeData());
    if (!path) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Loading asks questions in modal dialogs: not while the desktop waits
    // for the drop to end.
    QTimer::singleShot(0, this, [this, dropped = *path] { openDroppedLog(dropped); });
}

}  // namespace kestal
