#include "app/LogWatch.h"

#include <QFile>
#include <QFileInfo>

namespace kestal {

namespace {

constexpr int kSettleMilliseconds = 50;

}  // namespace

LogWatch::LogWatch(QObject* parent) : QObject(parent) {
    poll_.setInterval(kPollMilliseconds);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &LogWatch::mayHaveChanged);
    connect(&settle_, &QTimer::timeout, this, &LogWatch::mayHaveChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LogWatch::noticeCame);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LogWatch::noticeCame);
}

void LogWatch::watch(const std::string& path) {
    stop();
    path_ = QFile::decodeName(QByteArray::fromStdString(path));
    // The folder too: a log made anew there (rotation, Clear) is seen.
    watcher_.addPath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_)) watcher_.addPath(path_);
    poll_.start();
}

void LogWatch::stop() {
    poll_.stop();
    settle_.stop();
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
}

void LogWatch::noticeCame() {
    // A replaced file drops out of the watch: the new one is taken on.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
    settle_.start();
}

}  // namespace kestal
