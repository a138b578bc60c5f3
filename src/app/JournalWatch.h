// Tells when a followed journal may have gained entries: its descriptor
// (sd_journal_get_fd) becomes readable, and the library has taken in what
// happened (sd_journal_process). Twice a second in any case, as LogWatch
// looks at a file: journal files named by hand are not always watched.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "journal/JournalLines.h"

namespace kestal {

class JournalWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMilliseconds = 500;

    explicit JournalWatch(QObject* parent = nullptr);

    // Watches journal (kept open while watched); a journal that could not
    // be opened (null) is not watched.
    void watch(std::shared_ptr<JournalLines> journal);
    void stop();

signals:
    void mayHaveChanged();

private:
    void readyToRead();

    std::shared_ptr<JournalLines> journal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer poll_;
};

}  // namespace kestal
