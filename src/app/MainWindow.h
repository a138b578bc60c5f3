// The main window ("frmKestal"): menu bar, the call table grid and a status
// bar with the call count and the repair gauge. Every command runs inside
// runCommand, so a failure it doesn't handle itself ends in the general
// error report and the window goes on. What loading tells the window goes
// through MainWindowView.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/CallGrid.h"
#include "app/CallTableModel.h"
#include "app/CallViewControls.h"
#include "app/MainWindowView.h"
#include "app/ProgressGauge.h"
#include "app/RecentLogs.h"
#include "commands/FollowLog.h"
#include "commands/LogState.h"
#include "platform/Platform.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;

namespace kestal {

class LogWatch;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Runs setUpAndLoad, which ends with the first load: of logFile when one
    // is given (as File > Open loads it), of the system log otherwise.
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr, std::string logFile = {});
    ~MainWindow() override;

    LogState& state() { return state_; }
    const LogState& state() const { return state_; }
    CallTableModel* model() const { return model_; }
    // What loading tells the window goes through here.
    MainWindowView& view() { return view_; }
    // The table row of the call selected in the grid (1 and on); 0 when
    // the filter shows no call.
    int selectedRow() const { return shown_->selectedRow(); }
    // Sorting, filtering and copying of the shown calls.
    CallViewControls* viewControls() const { return shown_; }

    // Components, by their object names: "MainMenu1", "File1", "Open1",
    // "Copy1", "SaveAs1", "Print1", "N1", "Clear1", "N2", "Exit1", "Call1",
    // "ShowCallDetails2", "Help1", "About1", "PopupMenu1",
    // "ShowCallDetails1", "Edit1", "View1", "N3", "RecentLogs1", "Reload1",
    // "Follow1", "Grid1", "Panel1", "Panel2", "Label1", "Gauge1".
    QMenuBar* mainMenu = nullptr;
    QMenu* fileMenu = nullptr;
    QAction* openAction = nullptr;
    QAction* copyAction = nullptr;
    QAction* saveTableAsAction = nullptr;
    QAction* printAction = nullptr;
    QAction* separatorAfterPrint = nullptr;
    QAction* clearAction = nullptr;
    QAction* separatorAfterClear = nullptr;
    QAction* exitAction = nullptr;
    QMenu* callMenu = nullptr;
    QAction* showCallDetailsAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* aboutAction = nullptr;
    QMenu* gridMenu = nullptr;
    QAction* gridShowCallDetailsAction = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* viewMenu = nullptr;
    // File > Recent Logs and the View menu's items (MainWindowLogs.cpp).
    QAction* separatorBeforeRecentLogs = nullptr;
    QMenu* recentLogsMenu = nullptr;
    QAction* reloadAction = nullptr;
    QAction* followAction = nullptr;
    QLabel* followStatus = nullptr;  // "FollowStatus", in the status bar while following
    CallGrid* callGrid = nullptr;
    QFrame* statusPanel = nullptr;
    QFrame* statusInset = nullptr;
    QLabel* statusLabel = nullptr;
    ProgressGauge* repairGauge = nullptr;
    FileDialog saveDialog;
    FileDialog openDialog;

    // Handlers.
    void openLog();
    void copyLog();
    void saveTableAs();
    void printTable();
    void clearLog();
    void exitProgram();
    void showAbout();
    void showCallDetails();
    // True when it took the key (Enter, whatever the modifiers).
    bool gridKeyPressed(QKeyEvent* event);
    // Opening and reading logs again (MainWindowLogs.cpp).
    void reloadLog();
    void openRecentLog(const std::string& path);
    void openDroppedLog(const std::string& path);
    void setFollowing(bool checked);
    // A look at the followed log: what it gained is shown, without a dialog.
    void followLog();

signals:
    // The window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createLogMenus();
    // After a log was chosen (by the user, or the system log at start-up):
    // the one the user chose goes on File > Recent Logs when it could be
    // read, and Reload and Follow are there while a log is shown.
    void logChosen(bool byUser);
    void fillRecentLogsMenu();
    // Following (re)starts on the log shown now.
    void startFollowing();
    void showGrowth(const LogGrowth& growth);
    void readFollowedLogAgain();
    void showFollowStatus();
    // The start time of the selected call, the row found again after a
    // whole read, and the grid's focus kept.
    void readAgainKeepingSelection(Platform& platform);
    void createClientArea();
    void layoutClientArea();
    void setUpAndLoad();
    // Runs a command unless a repair is letting events through.
    void command(const std::function<void()>& body);

    Platform& platform_;
    LogState state_;
    CallTableModel* model_ = nullptr;
    CallViewControls* shown_ = nullptr;
    QWidget* client_ = nullptr;
    MainWindowView view_;
    std::string startLogFile_;
    std::unique_ptr<RecentLogs> recentLogs_;
    LogFollower follower_;
    LogWatch* logWatch_ = nullptr;
    bool followReadFailed_ = false;
};

}  // namespace kestal
