// The journal's pppd entries read into the lines of a pppd log.
#include "commands/OpenJournal.h"

#include <ctime>
#include <filesystem>
#include <utility>

#include "commands/BusyCursor.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "platform/Errors.h"
#include "pppd/LogKind.h"

namespace kestal::commands {

namespace {

constexpr std::int64_t kDaySeconds = 24 * 60 * 60;

// Seconds since the epoch of a local date and time.
std::int64_t epochSeconds(const DateTime& local) {
    std::tm broken{};
    broken.tm_year = local.year - 1900;
    broken.tm_mon = local.month - 1;
    broken.tm_mday = local.day;
    broken.tm_hour = local.hour;
    broken.tm_min = local.minute;
    broken.tm_sec = local.second;
    broken.tm_isdst = -1;  // as the zone has it on that day
    return static_cast<std::int64_t>(std::mktime(&broken));
}

// How long a period is, in seconds; none for everything.
std::optional<std::int64_t> periodSeconds(JournalPeriod period) {
    switch (period) {
        case JournalPeriod::Day:
            return kDaySeconds;
        case JournalPeriod::Week:
            return 7 * kDaySeconds;
        case JournalPeriod::Month:
            return 30 * kDaySeconds;
        case JournalPeriod::Everything:
            break;
    }
    return std::nullopt;
}

std::int64_t startUsec(std::int64_t seconds, const DateTime& now) {
    return (epochSeconds(now) - seconds) * 1'000'000;
}

}  // namespace

std::optional<std::int64_t> periodStart(JournalPeriod period, const DateTime& now) {
    const std::optional<std::int64_t> seconds = periodSeconds(period);
    if (!seconds) return std::nullopt;
    return startUsec(*seconds, now);
}

bool isJournalFile(std::string_view path) {
    return path.ends_with(".journal") || path.ends_with(".journal~");
}

std::string journalName(const JournalSource& source) {
    if (!source.directory.empty()) return source.directory;
    if (source.files.empty()) return "System Journal";
    std::string name = source.files.front();
    if (source.files.size() > 1)
        name += " and " + std::to_string(source.files.size() - 1) + " more";
    return name;
}

void openJournal(LogState& state, Platform& platform, LoadView& view, const JournalSource& source,
                 std::optional<std::int64_t> lastSeconds) {
    state.joinedPaths.clear();
    // One journal file goes by its path (Recent Logs keeps it); the system's
    // journal and several files have none.
    state.logPath = source.files.size() == 1 ? source.files.front() : std::string();
    state.journal.emplace();
    state.journal->source = source;
    state.journal->name = journalName(source);
    state.journal->lastSeconds = lastSeconds;
    view.setClearEnabled(false);  // Clear empties the dial-up log alone
    state.table.reset();
    state.pppd.reset();
    view.showTable(state.table);
    view.setCaption(std::string(kProgramTitle) + " - " + state.journal->name);
    view.setStatusText("");
    loadJournal(state, platform, view);
}

void openSystemJournal(LogState& state, Platform& platform, LoadView& view, JournalPeriod period) {
    JournalSource source;
    source.sinceUsec = periodStart(period, platform.now());
    openJournal(state, platform, view, source, periodSeconds(period));
}

void loadJournal(LogState& state, Platform& platform, LoadView& view) {
    JournalShown& journal = *state.journal;
    if (journal.lastSeconds)
        journal.source.sinceUsec = startUsec(*journal.lastSeconds, platform.now());
    state.readMark = ReadMark{};
    state.kind = LogKind::Pppd;
    state.lines.clear();
    state.pppd.reset();
    // The watch of the journal read before may hold it on a while longer.
    journal.lines.reset();
    std::string text;
    {
        BusyCursor busy(platform);
        try {
            journal.lines = std::make_shared<JournalLines>(journal.source);
            journal.lines->readNew(text);
        } catch (const CommandError& failure) {
            journal.lines.reset();
            busy.restore();
            platform.showErrorReport(withFullStop(failure.what()));
            return;
        }
    }
    state.lines.assign(std::move(text));
    readPppdTable(state, platform, view, epochSeconds(platform.now()));
    if (state.lines.size() == 0) {
        const std::string why =
            journalAccessText(journal.lines->access(), journal.lines->readerGroup());
        if (!why.empty()) view.setStatusText(why);
    }
}

std::string journalAccessText(JournalAccess access, std::string_view readerGroup) {
    switch (access) {
        case JournalAccess::Readable:
            return {};
        case JournalAccess::NoJournal:
            return std::string(kNoJournal);
        case JournalAccess::OwnEntriesOnly:
            return withPart(kJournalOwnEntriesOnly, readerGroup);
    }
    return {};
}

}  // namespace kestal::commands
