#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace kestal {

namespace {

const QString kJournal = QStringLiteral("journal");
const QString kJournalFile = QStringLiteral("journal-file");
const QString kJournalDirectory = QStringLiteral("journal-directory");
const QString kSince = QStringLiteral("since");
const QString kUntil = QStringLiteral("until");

}  // namespace

std::optional<std::int64_t> journalTime(const QString& text) {
    // A date alone is its midnight.
    for (const char* format : {"yyyy-MM-dd", "MM-dd-yyyy"})
        if (const QDate day = QDate::fromString(text, QString::fromLatin1(format)); day.isValid())
            return day.startOfDay().toMSecsSinceEpoch() * 1000;
    for (const char* date : {"yyyy-MM-dd", "MM-dd-yyyy"}) {
        for (const char* time : {" HH:mm", " HH:mm:ss", "THH:mm", "THH:mm:ss"}) {
            const QDateTime moment =
                QDateTime::fromString(text, QString::fromLatin1(date) + QString::fromLatin1(time));
            if (moment.isValid()) return moment.toMSecsSinceEpoch() * 1000;
        }
    }
    return std::nullopt;
}

void describeProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Kestal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTAL_VERSION));
}

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0) return false;
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (std::strcmp(argument, option) == 0) return true;
    }
    return false;
}

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Shows the calls of a Dial-Up Networking PPP log (ppplog.txt), one row per call.\n"
        "Without LOGFILE the system log in the Windows directory is shown; several\n"
        "LOGFILEs (rotated system logs, .gz ones too) are shown as one log. With\n"
        "--journal, pppd's entries in the systemd journal are shown instead."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {kJournal, QStringLiteral("Show pppd's entries in the system's journal.")},
        {kJournalFile,
         QStringLiteral("Read the journal file FILE instead (may be given more than once)."),
         QStringLiteral("FILE")},
        {kJournalDirectory, QStringLiteral("Read the journal files in DIR instead."),
         QStringLiteral("DIR")},
        {kSince,
         QStringLiteral("Only the journal's entries from DATE on: MM-DD-YYYY or YYYY-MM-DD, "
                        "with \" HH:MM[:SS]\" after it; local time."),
         QStringLiteral("DATE")},
        {kUntil, QStringLiteral("Only the journal's entries before DATE."), QStringLiteral("DATE")},
    });
    parser.addPositionalArgument(QStringLiteral("LOGFILE"),
                                 QStringLiteral("The log to show instead of the system log."),
                                 QStringLiteral("[LOGFILE...]"));
}

CommandLine readCommandLine(QCommandLineParser& parser, const QStringList& arguments) {
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.ok = false;
        result.error = parser.errorText().toStdString();
        return result;
    }
    for (const QString& log : parser.positionalArguments()) {
        if (log.isEmpty()) continue;
        result.logFiles.push_back(
            QFile::encodeName(QFileInfo(log).absoluteFilePath()).toStdString());
    }
    if (!result.logFiles.empty()) result.logFile = result.logFiles.front();

    auto fail = [&result](const QString& error) {
        result.ok = false;
        result.error = error.toStdString();
        return result;
    };
    const bool journal =
        parser.isSet(kJournal) || parser.isSet(kJournalFile) || parser.isSet(kJournalDirectory);
    if (!journal) {
        if (parser.isSet(kSince) || parser.isSet(kUntil))
            return fail(
                QStringLiteral("--since and --until choose the journal's entries: give --journal"));
        return result;
    }
    if (!result.logFiles.empty())
        return fail(QStringLiteral("a LOGFILE and the journal can't be shown together"));
    if (parser.isSet(kJournalFile) && parser.isSet(kJournalDirectory))
        return fail(QStringLiteral("--journal-file and --journal-directory can't go together"));
    JournalSource source;
    for (const QString& file : parser.values(kJournalFile))
        source.files.push_back(QFile::encodeName(QFileInfo(file).absoluteFilePath()).toStdString());
    if (parser.isSet(kJournalDirectory))
        source.directory =
            QFile::encodeName(QFileInfo(parser.value(kJournalDirectory)).absoluteFilePath())
                .toStdString();
    for (const auto& [name, bound] :
         {std::pair{kSince, &source.sinceUsec}, std::pair{kUntil, &source.untilUsec}}) {
        if (!parser.isSet(name)) continue;
        *bound = journalTime(parser.value(name));
        if (!*bound)
            return fail(
                QStringLiteral("--%1: '%2' is no date MM-DD-YYYY or YYYY-MM-DD [HH:MM[:SS]]")
                    .arg(name, parser.value(name)));
    }
    result.journal = std::move(source);
    return result;
}

}  // namespace kestal
