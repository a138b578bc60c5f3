#include "journal/JournalLines.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "journal/JournalEntryLine.h"
#include "journal/LostPages.h"
#include "platform/Errors.h"

namespace kestal {

namespace {

constexpr std::string_view kDefaultReaderGroup = "systemd-journal";

// Where the system keeps its journal: persistent, then volatile.
const char* const kSystemDirectories[] = {"/var/log/journal", "/run/log/journal"};

std::string errorText(int negativeErrno) { return std::strerror(-negativeErrno); }

bool isJournalFile(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.ends_with(".journal") || name.ends_with(".journal~");
}

struct FilesSeen {
    bool any = false;         // a journal file, or a directory that may hold them
    bool unreadable = false;  // something this user may not open
};

// The journal files in directory and in its machines' folders beneath.
void lookAt(const std::filesystem::path& directory, int depth, FilesSeen& seen) {
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) return;
    if (::access(directory.c_str(), R_OK | X_OK) != 0) {
        seen.any = true;
        seen.unreadable = true;
        return;
    }
    for (const auto& item : std::filesystem::directory_iterator(directory, error)) {
        std::error_code itemError;
        if (item.is_directory(itemError)) {
            if (depth == 0) lookAt(item.path(), depth + 1, seen);
        } else if (isJournalFile(item.path())) {
            seen.any = true;
            if (::access(item.path().c_str(), R_OK) != 0) seen.unreadable = true;
        }
    }
}

std::string groupOf(const char* path) {
    struct stat info {};
    if (::stat(path, &info) != 0 || info.st_gid == 0 || (info.st_mode & S_IRGRP) == 0) return {};
    const struct group* entry = ::getgrgid(info.st_gid);
    return entry ? entry->gr_name : std::string();
}

// A field's value, without its "NAME=".
std::optional<std::string_view> field(sd_journal* journal, std::string_view name) {
    const void* data = nullptr;
    std::size_t length = 0;
    if (sd_journal_get_data(journal, name.data(), &data, &length) < 0) return std::nullopt;
    const std::string_view whole(static_cast<const char*>(data), length);
    if (whole.size() <= name.size() || whole[name.size()] != '=') return std::nullopt;
    return whole.substr(name.size() + 1);
}

}  // namespace

struct JournalLines::State {
    sd_journal* journal = nullptr;
    JournalSource source;
    JournalAccess access = JournalAccess::Readable;
    bool started = false;
    bool pastUntil = false;
    // A file was cut short under the library: nothing more is read.
    bool pagesLost = false;
    std::size_t linesRead = 0;
    // Copies of the fields that sd_journal_get_data lends only until the
    // next call.
    std::string hostname, identifier, pid;

    ~State() {
        if (journal) sd_journal_close(journal);
    }

    void open();
    void addMatches();
    void start();
    bool readEntry(std::string& text);
    void judgeAccess();
};

void JournalLines::State::open() {
    int result = 0;
    if (!source.files.empty()) {
        // Absolute paths: libsystemd watches a file's folder for following,
        // and finds no folder in a bare name.
        std::vector<std::string> absolute;
        for (const std::string& file : source.files) {
            std::error_code error;
            const auto path = std::filesystem::absolute(file, error);
            absolute.push_back(error ? file : path.string());
        }
        std::vector<const char*> paths;
        for (const std::string& file : absolute) paths.push_back(file.c_str());
        paths.push_back(nullptr);
        result = sd_journal_open_files(&journal, paths.data(), 0);
    } else if (!source.directory.empty()) {
        result = sd_journal_open_directory(&journal, source.directory.c_str(), 0);
    } else {
        result = sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY);
    }
    if (result >= 0) return;
    journal = nullptr;
    if (result == -ENOENT || result == -ENOTDIR) {
        access = JournalAccess::NoJournal;
    } else if (result == -EACCES || result == -EPERM) {
        access = JournalAccess::OwnEntriesOnly;
    } else {
        const std::string what = !source.files.empty()       ? source.files.front()
                                 : !source.directory.empty() ? source.directory
                                                             : std::string("the system journal");
        throw CommandError("Can't open " + what + ": " + errorText(result));
    }
}

void JournalLines::State::addMatches() {
    for (const char* match : {"SYSLOG_IDENTIFIER=pppd", "SYSLOG_IDENTIFIER=chat", "_COMM=pppd"}) {
        const int result = sd_journal_add_match(journal, match, 0);
        if (result < 0) throw CommandError("Can't read the journal: " + errorText(result));
        sd_journal_add_disjunction(journal);
    }
}

void JournalLines::State::start() {
    started = true;
    if (!journal) return;
    addMatches();
    const int result =
        source.sinceUsec
            ? sd_journal_seek_realtime_usec(journal, static_cast<std::uint64_t>(*source.sinceUsec))
            : sd_journal_seek_head(journal);
    if (result < 0) throw CommandError("Can't read the journal: " + errorText(result));
}

// The entry at the journal's position as a line; false when it holds no
// message (nothing the log would show).
bool JournalLines::State::readEntry(std::string& text) {
    JournalEntry entry;
    std::uint64_t usec = 0;
    if (sd_journal_get_realtime_usec(journal, &usec) < 0) return false;
    entry.realtimeUsec = static_cast<std::int64_t>(usec);
    if (source.untilUsec && entry.realtimeUsec >= *source.untilUsec) {
        pastUntil = true;
        return false;
    }
    if (source.sinceUsec && entry.realtimeUsec < *source.sinceUsec) return false;
    const auto keep = [](std::optional<std::string_view> value, std::string& copy) {
        if (!value) return std::optional<std::string_view>();
        copy.assign(*value);
        return std::optional<std::string_view>(copy);
    };
    entry.hostname = keep(field(journal, "_HOSTNAME"), hostname);
    entry.identifier = keep(field(journal, "SYSLOG_IDENTIFIER"), identifier);
    entry.pid = keep(field(journal, "_PID"), pid);
    const auto message = field(journal, "MESSAGE");
    if (!message) return false;
    entry.message = *message;
    appendEntryLine(entry, text);
    return true;
}

// An empty result from a journal of several users' files the user may not
// all open is the permission's doing, not an empty log.
void JournalLines::State::judgeAccess() {
    if (access != JournalAccess::Readable || linesRead > 0 || !source.files.empty()) return;
    FilesSeen seen;
    if (!source.directory.empty()) {
        lookAt(source.directory, 0, seen);
    } else {
        for (const char* directory : kSystemDirectories) lookAt(directory, 0, seen);
    }
    if (seen.unreadable)
        access = JournalAccess::OwnEntriesOnly;
    else if (!seen.any)
        access = JournalAccess::NoJournal;
}

JournalLines::JournalLines(const JournalSource& source) : state_(std::make_unique<State>()) {
    state_->source = source;
    state_->open();
}

JournalLines::~JournalLines() = default;
JournalLines::JournalLines(JournalLines&&) noexcept = default;
JournalLines& JournalLines::operator=(JournalLines&&) noexcept = default;

std::size_t JournalLines::readNew(std::string& text) { return readNew(text, SIZE_MAX); }

std::size_t JournalLines::readNew(std::string& text, std::size_t maxLines) {
    State& s = *state_;
    const auto cutShort = [] { return CommandError("Can't read the journal: " + errorText(-EIO)); };
    if (s.pagesLost) throw cutShort();
    const LostPages pages;
    const bool first = !s.started;
    std::size_t lines = 0;
    try {
        if (first) s.start();
        while (s.journal && !s.pastUntil && lines < maxLines && !pages.any()) {
            const int result = sd_journal_next(s.journal);
            if (result < 0) throw CommandError("Can't read the journal: " + errorText(result));
            if (result == 0) break;
            if (s.readEntry(text)) ++lines;
        }
    } catch (const CommandError&) {
        s.pagesLost = pages.any();
        throw;
    }
    if (pages.any()) {
        s.pagesLost = true;
        throw cutShort();
    }
    s.linesRead += lines;
    if (first) s.judgeAccess();
    return lines;
}

int JournalLines::descriptor() {
    if (!state_->journal) return -1;
    return sd_journal_get_fd(state_->journal);
}

bool JournalLines::processChanges() {
    if (!state_->journal || state_->pagesLost) return false;
    const LostPages pages;
    const int result = sd_journal_process(state_->journal);
    // A lost page is for the next read to tell.
    if (pages.any()) state_->pagesLost = true;
    return result > 0 || state_->pagesLost;
}

JournalAccess JournalLines::access() const { return state_->access; }

std::string JournalLines::readerGroup() const {
    if (!state_->source.directory.empty()) {
        if (std::string group = groupOf(state_->source.directory.c_str()); !group.empty())
            return group;
    } else if (state_->source.files.empty()) {
        for (const char* directory : kSystemDirectories) {
            if (std::string group = groupOf(directory); !group.empty()) return group;
        }
    }
    return std::string(kDefaultReaderGroup);
}

}  // namespace kestal
