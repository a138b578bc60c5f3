#include "AppFixture.h"

#include <QTest>

#include "app/Windows.h"

namespace kestal::testing {

void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    // Left to the end of the process on purpose: a QApplication destroyed
    // among the static objects at exit outlives parts of Qt it still needs.
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
}

AppTest::AppTest() {
    ensureApplication();
    platform.windowsDir = windows.path().string();
    platform.mainWindowVisible = [] { return frmKestal && frmKestal->isVisible(); };
    platform.onCloseMainWindow = [] {
        if (frmKestal) frmKestal->close();
    };
}

AppTest::~AppTest() {
    details.reset();
    about.reset();
    main.reset();
}

void AppTest::writeLog(std::string_view bytes) { windows.write("ppplog.txt", bytes); }

void AppTest::createWindows() {
    main = std::make_unique<TfrmKestal>(platform);
    about = std::make_unique<TAboutBox>();
    details = std::make_unique<TFrmCall>(platform);
}

void AppTest::showMain() {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
}

}  // namespace kestal::testing
