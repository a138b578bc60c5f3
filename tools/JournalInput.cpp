#include "JournalInput.h"

#include <sys/socket.h>

#include <cerrno>
#include <ctime>

#include "LogSources.h"
#include "ToolMessages.h"
#include "platform/Errors.h"

namespace kestal::tool {

namespace {

// Lines handed on at a time: the reader starts on the first while the
// journal is still being read, and a big journal is never held whole.
constexpr std::size_t kLinesAtATime = 4096;

// n digits at pos as a number, pos moved past them; -1 when they aren't.
int digits(std::string_view text, std::size_t& pos, std::size_t n) {
    if (pos + n > text.size()) return -1;
    int value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    pos += n;
    return value;
}

bool take(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

std::optional<std::int64_t> readJournalTime(std::string_view text) {
    std::tm t{};
    std::size_t pos = 0;
    if (text.size() >= 10 && text[2] == '-') {  // MM-DD-YYYY
        t.tm_mon = digits(text, pos, 2) - 1;
        if (!take(text, pos, '-')) return std::nullopt;
        t.tm_mday = digits(text, pos, 2);
        if (!take(text, pos, '-')) return std::nullopt;
        t.tm_year = digits(text, pos, 4) - 1900;
    } else {  // YYYY-MM-DD
        t.tm_year = digits(text, pos, 4) - 1900;
        if (!take(text, pos, '-')) return std::nullopt;
        t.tm_mon = digits(text, pos, 2) - 1;
        if (!take(text, pos, '-')) return std::nullopt;
        t.tm_mday = digits(text, pos, 2);
    }
    if (t.tm_year < 0 || t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_mday > 31)
        return std::nullopt;
    if (pos < text.size()) {
        if (!take(text, pos, ' ') && !take(text, pos, 'T')) return std::nullopt;
        t.tm_hour = digits(text, pos, 2);
        if (!take(text, pos, ':')) return std::nullopt;
        t.tm_min = digits(text, pos, 2);
        if (take(text, pos, ':')) t.tm_sec = digits(text, pos, 2);
        if (t.tm_hour < 0 || t.tm_hour > 23 || t.tm_min < 0 || t.tm_min > 59 || t.tm_sec < 0 ||
            t.tm_sec > 59 || pos != text.size())
            return std::nullopt;
    }
    const int day = t.tm_mday;
    t.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&t);
    if (seconds == static_cast<std::time_t>(-1) || t.tm_mday != day) return std::nullopt;
    return static_cast<std::int64_t>(seconds) * 1000000;
}

std::string ownEntriesOnlyText(std::string_view group) {
    const std::string name(group);
    return "Only members of the group " + name +
           " can read pppd's entries: add yourself with sudo usermod -aG " + name +
           " $USER and log in again.";
}

std::string noJournalText(const JournalSource& source) {
    if (!source.files.empty()) return "no such journal file: " + source.files.front();
    if (!source.directory.empty()) return "no journal files in " + source.directory;
    return "This machine keeps no systemd journal: read its system log instead.";
}

JournalInput::JournalInput(const JournalSource& source) try : journal_(source) {
    if (journal_.readNew(first_, kLinesAtATime) > 0) return;
    switch (journal_.access()) {
        case JournalAccess::OwnEntriesOnly:
            throw FileError{{}, ownEntriesOnlyText(journal_.readerGroup())};
        case JournalAccess::NoJournal:
            throw FileError{{}, noJournalText(source)};
        case JournalAccess::Readable:
            break;
    }
} catch (const CommandError& error) {
    throw FileError{{}, error.what()};
}

JournalInput::~JournalInput() {
    readEnd_.close();  // a feeder still writing stops
    if (feeder_.joinable()) feeder_.join();
}

int JournalInput::pipe() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        throw FileError{"the journal", "can't make a pipe"};
    readEnd_ = FileDescriptor(ends[0]);
    feeder_ = std::thread([this, writeEnd = FileDescriptor(ends[1])]() mutable {
        try {
            std::string text = std::move(first_);
            do {
                if (!sendAll(writeEnd.get(), text)) return;
                text.clear();
            } while (journal_.readNew(text, kLinesAtATime) > 0);
        } catch (...) {
            failure_ = std::current_exception();
        }
    });
    return readEnd_.get();
}

void JournalInput::finish() {
    if (feeder_.joinable()) feeder_.join();
    if (!failure_) return;
    try {
        std::rethrow_exception(failure_);
    } catch (const CommandError& error) {
        throw FileError{"the journal", error.what()};
    }
}

}  // namespace kestal::tool
