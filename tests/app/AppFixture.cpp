#include "AppFixture.h"

#include <QSettings>
#include <QTest>

namespace kestal::testing {

void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    // Settings of windows made outside a test's fixture go to a folder of
    // the test program's own.
    static TempDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings.path().string()));
    // Left to the end of the process on purpose: a QApplication destroyed
    // among the static objects at exit outlives parts of Qt it still needs.
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
}

AppTest::AppTest() {
    ensureApplication();
    // The windows keep settings (the recent logs): in the test's own folder,
    // never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(windows.file("settings")));
    platform.windowsDir = windows.path().string();
    platform.mainWindowVisible = [this] { return main && main->isVisible(); };
    platform.onCloseMainWindow = [this] {
        if (main) main->close();
    };
}

AppTest::~AppTest() {
    details.reset();
    about.reset();
    main.reset();
}

void AppTest::writeLog(std::string_view bytes) { windows.write("ppplog.txt", bytes); }

void AppTest::createWindows() {
    main = std::make_unique<MainWindow>(platform);
    about = std::make_unique<AboutBox>();
    details = std::make_unique<CallDetailsWindow>(platform);
    main->useWindows(*about, *details);
}

void AppTest::showMain() {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
}

}  // namespace kestal::testing
