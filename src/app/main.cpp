// Kestal File Viewer: shows the calls of the Dial-Up Networking PPP log.
// The program reads no arguments of its own (Qt's platform options aside)
// and no settings: each run starts from the system log.
#include <QApplication>
#include <clocale>

#include "app/AboutForm.h"
#include "app/CallForm.h"
#include "app/MainForm.h"
#include "platform/QtPlatform.h"

int main(int argc, char* argv[]) {
    // Regional settings (decimal and time separators) come from the user's
    // locale.
    std::setlocale(LC_ALL, "");
    QApplication application(argc, argv);
    // The main window's closing ends the program, also while the About box
    // or the details window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    kestal::QtPlatform platform;

    // The first load, and any dialog it raises, happens inside the main
    // window's creation, before anything is visible.
    kestal::TfrmKestal frmKestal(platform);
    if (!frmKestal.startedUp()) return 0;
    platform.setMainWindow(&frmKestal);
    QObject::connect(&frmKestal, &kestal::TfrmKestal::closed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    kestal::TAboutBox AboutBox;
    kestal::TFrmCall FrmCall(platform);

    frmKestal.showMaximized();
    return application.exec();
}
