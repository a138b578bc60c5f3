// Kestal File Viewer: shows the calls of the Dial-Up Networking PPP log.
// "Kestal [LOGFILE...]": the log named (several: as one log), or the system
// log in the Windows directory; "Kestal --journal": pppd's entries in the
// systemd journal (Qt's own options, -platform and the like, work as usual).
#include <QApplication>
#include <QCommandLineParser>
#include <clocale>
#include <cstdio>

#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "commands/Messages.h"
#include "platform/Locale.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/TranslatedText.h"

namespace {

// --help and --version print their text and end the program, without a
// display.
void answerHelpOrVersion(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    kestal::describeProgram();
    QCommandLineParser parser;
    kestal::describeOptions(parser);
    // Qt's window options mean nothing here and must not stand in the way.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    parser.showHelp(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Regional settings (decimal and time separators) come from the user's
    // locale.
    std::setlocale(LC_ALL, "");
    if (kestal::asksForHelpOrVersion(argc, argv)) answerHelpOrVersion(argc, argv);

    QApplication application(argc, argv);
    // The windows speak the user's language where the program has a
    // catalogue of it (German), English otherwise.
    kestal::useTextPatterns(kestal::kMessagePatterns);
    kestal::loadCatalogue(kestal::messagesLanguage());
    kestal::describeProgram();
    QCommandLineParser parser;
    kestal::describeOptions(parser);
    const kestal::CommandLine commandLine =
        kestal::readCommandLine(parser, QApplication::arguments());
    if (!commandLine.ok) {
        std::fprintf(stderr, "Kestal: %s\nTry 'Kestal --help'.\n", commandLine.error.c_str());
        return 2;
    }
    // The main window's closing ends the program, also while the About box
    // or the details window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    kestal::QtPlatform platform;

    // The first load, and any dialog it raises, happens inside the main
    // window's creation, before anything is visible.
    kestal::MainWindow mainWindow(platform, nullptr, commandLine.logFiles, commandLine.journal);
    platform.setMainWindow(&mainWindow);
    QObject::connect(&mainWindow, &kestal::MainWindow::closed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    kestal::AboutBox aboutBox;
    kestal::CallDetailsWindow callDetailsWindow(platform);
    mainWindow.useWindows(aboutBox, callDetailsWindow);

    mainWindow.showAsLastTime();
    return application.exec();
}
