// Start-up the Linux way: a log named on the command line, no Windows
// directory, paths and colours of any desktop.
#include <QAction>
#include <QCommandLineParser>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "app/CommandLine.h"
#include "commands/Messages.h"

namespace kestal::testing {
namespace {

using LinuxStart = AppTest;

TEST_F(LinuxStart, WithoutWindowsDirectoryTheWindowOpensReadyForFileOpen) {
    platform.windowsDir.reset();
    createWindows();
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(statusLabel()->text().toStdString(), kNoSystemLog);
    EXPECT_FALSE(action("Clear1")->isEnabled());
    EXPECT_TRUE(action("Open1")->isEnabled());
    EXPECT_EQ(main->model()->rowCount(), 1);
    EXPECT_FALSE(action("Reload1")->isEnabled());

    const std::string log = windows.write("copied.txt", kThreeCallLog);
    platform.fileDialogAnswers.push_back(log);
    action("Open1")->trigger();
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("3 Calls"));
}

TEST_F(LinuxStart, LogFileArgumentIsShownUnderItsPathAsTheSystemNamesIt) {
    // A UTF-8 folder name, as file managers make them.
    const std::string folder = windows.file("j\xc3\xb6rg");
    std::filesystem::create_directory(folder);
    const std::string log = folder + "/ppplog.txt";
    std::ofstream(log, std::ios::binary) << kThreeCallLog;
    main = std::make_unique<MainWindow>(platform, nullptr, log);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(main->windowTitle(),
              QStringLiteral("Kestal File Viewer - ") + QString::fromUtf8(log.c_str()));
    EXPECT_TRUE(main->windowTitle().contains(QStringLiteral("j\u00f6rg")));
    EXPECT_FALSE(action("Clear1")->isEnabled());
}

TEST_F(LinuxStart, TitleLinesTakeTheirColourFromThePalette) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QHeaderView* titles = grid()->horizontalHeader();
    QPalette dark = titles->palette();
    dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    titles->setPalette(dark);
    const QImage image = titles->grab().toImage();
    const int right = titles->sectionViewportPosition(0) + titles->sectionSize(0) - 1;
    EXPECT_EQ(image.pixelColor(right, titles->height() / 2), QColor(0xe0, 0xe0, 0xe0));
    EXPECT_EQ(image.pixelColor(2, titles->height() - 1), QColor(0xe0, 0xe0, 0xe0));
}

TEST(CommandLine, NamesEachLogAsAnAbsolutePath) {
    struct Case {
        QStringList arguments;
        bool ok;
        std::string logFile;
    };
    const std::string here = QFile::encodeName(QDir::currentPath()).toStdString();
    const std::vector<Case> cases = {
        {{"Kestal"}, true, ""},
        {{"Kestal", "/var/log/ppplog.txt"}, true, "/var/log/ppplog.txt"},
        {{"Kestal", "logs/ppplog.txt"}, true, here + "/logs/ppplog.txt"},
        {{"Kestal", "--", "-odd.txt"}, true, here + "/-odd.txt"},
        {{"Kestal", "/tmp/j\u00f6rg.txt"}, true, "/tmp/j\xc3\xb6rg.txt"},
        {{"Kestal", "one.txt", "two.txt"}, true, here + "/one.txt"},  // and two.txt: one log
        {{"Kestal", "--follow-me"}, false, ""},
    };
    for (const Case& c : cases) {
        QCommandLineParser parser;
        describeOptions(parser);
        const CommandLine line = readCommandLine(parser, c.arguments);
        EXPECT_EQ(line.ok, c.ok) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.logFile, c.logFile) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.error.empty(), c.ok) << c.arguments.join(' ').toStdString();
    }
    QCommandLineParser parser;
    describeOptions(parser);
    EXPECT_EQ(readCommandLine(parser, {"Kestal", "syslog.1", "/var/log/syslog"}).logFiles,
              (std::vector<std::string>{here + "/syslog.1", "/var/log/syslog"}));
}

// The real program answers --help and --version without a display, also
// when Qt's options ask for one.
TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"-platform", "xcb", "--version"}, QStringLiteral("Kestal " KESTAL_VERSION)},
        {{"--help"}, QStringLiteral("[LOGFILE...]")}};
    for (const auto& [arguments, expected] : cases) {
        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment());  // no DISPLAY
        program.start(QStringLiteral(KESTAL_BINARY), arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), 0) << expected.toStdString();
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).contains(expected));
    }
}

}  // namespace
}  // namespace kestal::testing
