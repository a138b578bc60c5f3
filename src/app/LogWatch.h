// Tells when the file at a path may have changed: at once through the file
// system's notices where it sends them, and twice a second in any case
// (network and FUSE mounts send none, and a file replaced under its name
// ends the notices about the old one).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>

namespace kestal {

class LogWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMilliseconds = 500;

    explicit LogWatch(QObject* parent = nullptr);

    void watch(const std::string& path);
    void stop();

signals:
    void mayHaveChanged();

private:
    void noticeCame();

    QFileSystemWatcher watcher_;
    QTimer poll_;
    // Notices come in bursts while a writer appends: one look after them.
    QTimer settle_;
    QString path_;
};

}  // namespace kestal
