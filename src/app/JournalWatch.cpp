#include "app/JournalWatch.h"

#include <utility>

namespace kestal {

JournalWatch::JournalWatch(QObject* parent) : QObject(parent) {
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (journal_) journal_->processChanges();
        emit mayHaveChanged();
    });
}

void JournalWatch::watch(std::shared_ptr<JournalLines> journal) {
    stop();
    if (!journal) return;
    journal_ = std::move(journal);
    if (const int descriptor = journal_->descriptor(); descriptor >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &JournalWatch::readyToRead);
    }
    poll_.start();
}

void JournalWatch::stop() {
    poll_.stop();
    // The notifier goes before the journal whose descriptor it watches.
    notifier_.reset();
    journal_.reset();
}

void JournalWatch::readyToRead() {
    if (journal_ && journal_->processChanges()) emit mayHaveChanged();
}

}  // namespace kestal
