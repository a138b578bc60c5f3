#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace kestal {

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
        "LOGFILEs (rotated system logs, .gz ones too) are shown as one log."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    return result;
}

}  // namespace kestal
