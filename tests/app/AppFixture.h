// The program's three windows created as at start-up, over a scripted
// platform and a Windows directory in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/MainWindow.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kestal::testing {

// One QApplication for the whole test program.
void ensureApplication();

// The child of parent with this object name, as the tests and automation
// find every widget. A missing one fails the test at once.
template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        ADD_FAILURE() << parent.objectName().toStdString() << " has no child named " << name;
        throw std::runtime_error(std::string("no child named ") + name);
    }
    return found;
}

// Three calls; the second holds a Latin-1 byte, the first an address.
inline constexpr std::string_view kThreeCallLog =
    "12-01-2026 09:12:04.30 - Remote access driver log opened.\r\n"
    "12-01-2026 09:12:05.30 - LCP : Layer up\r\n"
    "12-01-2026 09:12:06.60 - IPCP : Negotiated IP address of c0a80101\r\n"
    "12-01-2026 09:22:41.10 - Remote access driver log closed.\r\n"
    "12-02-2026 13:59:04.00 - Remote access driver log opened.\r\n"
    "12-02-2026 13:59:05.00 - Caf\xe9 au lait\r\n"
    "12-02-2026 14:19:41.00 - Remote access driver log closed.\r\n"
    "12-03-2026 20:41:55.00 - Remote access driver log opened.\r\n"
    "12-03-2026 21:12:32.00 - Remote access driver log closed.\r\n";

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    // Writes the system log (nothing written: no log at all).
    void writeLog(std::string_view bytes);
    // Creates the main window, the About box and the details window in that
    // order, and hands the other two to the main window.
    void createWindows();
    void showMain();

    // The main window's widgets and items by their object names.
    CallGrid* grid() const { return child<CallGrid>(*main, "Grid1"); }
    QLabel* statusLabel() const { return child<QLabel>(*main, "Label1"); }
    QAction* action(const char* name) const { return child<QAction>(*main, name); }
    QMenu* menu(const char* name) const { return child<QMenu>(*main, name); }

    TempDir windows;
    FakePlatform platform;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<AboutBox> about;
    std::unique_ptr<CallDetailsWindow> details;
};

}  // namespace kestal::testing
