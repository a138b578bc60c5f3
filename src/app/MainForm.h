// frmKestal: the main window. Menu bar, the call table grid Grid1 and a
// status bar with the call count (Label1) and the repair gauge (Gauge1).
// Every command runs inside runCommand, so a failure it doesn't handle
// itself ends in the general error report and the window goes on.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/CallTableModel.h"
#include "app/Gauge.h"
#include "app/RecentLogs.h"
#include "app/StringGrid.h"
#include "log/LogFollow.h"
#include "log/LogLoader.h"
#include "platform/Platform.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;

namespace kestal {

class LogWatch;

class TfrmKestal : public QMainWindow, public LoadView {
    Q_OBJECT
public:
    // Runs FormCreate, which ends with the first load: of logFile when one
    // is given (as File > Open loads it), of the system log otherwise.
    explicit TfrmKestal(Platform& platform, QWidget* parent = nullptr, std::string logFile = {});
    ~TfrmKestal() override;

    LogState& state() { return state_; }
    const LogState& state() const { return state_; }
    CallTableModel* model() const { return model_; }
    // The table row that is selected (1 and on).
    int selectedRow() const { return state_.table.currentRow(); }

    // Components.
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Call1 = nullptr;
    QAction* ShowCallDetails2 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* ShowCallDetails1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* View1 = nullptr;
    // File > Recent Logs and the View menu's items (MainFormLogs.cpp).
    QAction* N3 = nullptr;
    QMenu* RecentLogs1 = nullptr;
    QAction* Reload1 = nullptr;
    QAction* Follow1 = nullptr;
    QLabel* FollowStatus = nullptr;  // in the status bar while following
    TStringGrid* Grid1 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    TGauge* Gauge1 = nullptr;
    FileDialog SaveDialog1;
    FileDialog OpenDialog1;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void Open1Click();
    void Copy1Click();
    void SaveAs1Click();
    void Print1Click();
    void Clear1Click();
    void Exit1Click();
    void About1Click();
    void Grid1DblClick();
    // True when it took the key (Enter, whatever the modifiers).
    bool Grid1KeyDown(QKeyEvent* event);
    void Grid1MouseMove(QMouseEvent* event);
    // Opening and reading logs again (MainFormLogs.cpp).
    void Reload1Click();
    void openRecentLog(const std::string& path);
    void openDroppedLog(const std::string& path);
    void Follow1Click(bool checked);
    // A look at the followed log: what it gained is shown, without a dialog.
    void followLog();

    // LoadView.
    void setGridVisible(bool visible) override;
    void beginTableChange() override;
    void endTableChange() override;
    void selectFirstRow() override;
    void setStatusText(std::string_view text) override;
    void setGaugeVisible(bool visible) override;
    void setGaugeProgress(int progress) override;
    void setCaption(std::string_view caption) override;
    void setClearEnabled(bool enabled) override;
    void setInputBlocked(bool blocked) override;

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
    void selectTableRow(int row);
    // Runs a command unless a repair is letting events through.
    void command(const std::function<void()>& body);

    Platform& platform_;
    LogState state_;
    CallTableModel* model_ = nullptr;
    QWidget* client_ = nullptr;
    std::string startLogFile_;
    std::unique_ptr<RecentLogs> recentLogs_;
    LogFollower follower_;
    LogWatch* logWatch_ = nullptr;
    bool followReadFailed_ = false;
    bool inputBlocked_ = false;
};

}  // namespace kestal
