// The main window ("frmKestal"): menu bar, the call table grid and a status
// bar with the call count and the repair gauge. Every command runs inside
// runCommand, so a failure it doesn't handle itself ends in the general
// error report and the window goes on. What loading tells the window goes
// through MainWindowView.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CallGrid.h"
#include "app/CallTableModel.h"
#include "app/CallViewControls.h"
#include "app/MainWindowView.h"
#include "app/ProgressGauge.h"
#include "app/RecentLogs.h"
#include "app/figures/ShownCalls.h"
#include "commands/FollowLog.h"
#include "commands/LogState.h"
#include "commands/OpenJournal.h"
#include "platform/Platform.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;

namespace kestal {

class AboutBox;
class CallDetailsWindow;
class JournalWatch;
class LogWatch;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Runs setUpAndLoad, which ends with the first load: of logFile when one
    // is given (as File > Open loads it), of the system log otherwise.
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr, std::string logFile = {});
    // Several logs named are shown as one (rotated system logs).
    MainWindow(Platform& platform, QWidget* parent, std::vector<std::string> logFiles);
    // The journal's pppd entries instead of a log (Kestal --journal).
    MainWindow(Platform& platform, QWidget* parent, JournalSource journal);
    // The logs or the journal the command line names.
    MainWindow(Platform& platform, QWidget* parent, std::vector<std::string> logFiles,
               std::optional<JournalSource> journal);
    ~MainWindow() override;

    LogState& state() { return state_; }
    const LogState& state() const { return state_; }
    CallTableModel* model() const { return model_; }
    // What loading tells the window goes through here.
    MainWindowView& view() { return view_; }
    // The table row of the call selected in the grid; -1 when the filter
    // shows no call.
    int selectedRow() const { return shown_->selectedRow(); }
    // Sorting, filtering and copying of the shown calls.
    CallViewControls* viewControls() const { return shown_; }

    // The About box and the details window, made after this window's first
    // load; About and Show Call Details do nothing until they are given.
    // The details window stands where the user left it last time.
    void useWindows(AboutBox& about, CallDetailsWindow& details);

    // Shows the window as the user left it at the end of the last run:
    // size, place, maximised or not; maximised the first time.
    void showAsLastTime();
    // The name this kind of log's settings are kept under.
    QString settingsKind() const;

    // The dialogs of File > Open and of the commands that save a file.
    const FileDialog& openDialog() const { return openDialog_; }
    const FileDialog& saveDialog() const { return saveDialog_; }

    // Handlers.
    void openLog();
    void copyLog();
    void saveTableAs();
    // File > Save Report As...: a pppd log's report as a PDF.
    void saveReportAs();
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
    void openDroppedLogs(const std::vector<std::string>& paths);
    // File > Open System Journal: the system journal's pppd entries of the
    // period up to now.
    void openSystemJournal(commands::JournalPeriod period);
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
    void showGrowth(LogGrowth& growth);
    void readFollowedLogAgain();
    void showFollowStatus();
    // The start time of the selected call, the row found again after a
    // whole read, and the grid's focus kept.
    void readAgainKeepingSelection(Platform& platform);
    void createClientArea();
    void layoutClientArea();
    void setUpAndLoad();
    // What the Statistics and Trends windows cover: the calls the grid shows.
    ShownCalls shownCalls();
    // Runs a command unless a repair is letting events through.
    void command(const std::function<void()>& body);

    Platform& platform_;
    LogState state_;
    // The widgets; tests and automation find them by their object names
    // (the grid "Grid1", the status label "Label1", the gauge "Gauge1").
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* gridMenu_ = nullptr;  // the grid's context menu
    QAction* clearAction_ = nullptr;
    QList<QAction*> dialUpOnlyItems_;  // greyed while a pppd log is shown
    // File > Recent Logs and the View menu's items (MainWindowLogs.cpp).
    QMenu* recentLogsMenu_ = nullptr;
    QAction* reloadAction_ = nullptr;
    QAction* followAction_ = nullptr;
    QMenu* journalMenu_ = nullptr;    // File > Open System Journal's periods
    QLabel* followStatus_ = nullptr;  // in the status bar while following
    CallGrid* callGrid_ = nullptr;
    QFrame* statusPanel_ = nullptr;  // the status bar
    QFrame* statusInset_ = nullptr;  // its sunken inner panel
    QLabel* statusLabel_ = nullptr;
    ProgressGauge* repairGauge_ = nullptr;
    FileDialog saveDialog_;
    FileDialog reportDialog_;
    FileDialog openDialog_;
    QPointer<AboutBox> aboutBox_;
    QPointer<CallDetailsWindow> detailsWindow_;
    CallTableModel* model_ = nullptr;
    CallViewControls* shown_ = nullptr;
    QWidget* client_ = nullptr;
    MainWindowView view_;
    std::vector<std::string> startLogFiles_;
    std::optional<JournalSource> startJournal_;
    std::unique_ptr<RecentLogs> recentLogs_;
    LogFollower follower_;
    LogWatch* logWatch_ = nullptr;
    JournalWatch* journalWatch_ = nullptr;
    bool followReadFailed_ = false;
    bool placeRemembered_ = false;
};

}  // namespace kestal
