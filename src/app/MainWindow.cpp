#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <algorithm>
#include <filesystem>

#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/GridMemory.h"
#include "app/figures/CallFigureMenus.h"
#include "app/figures/PppdReport.h"
#include "app/look/WindowLook.h"
#include "app/look/WindowPlace.h"
#include "commands/BusyCursor.h"
#include "commands/ClearLog.h"
#include "commands/CopyLog.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/Print.h"
#include "commands/SaveDialog.h"
#include "commands/SaveTableAs.h"
#include "commands/ShowCallDetails.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

constexpr int kStatusBarHeight = 20;
constexpr const char* kTextFilter = QT_TRANSLATE_NOOP("kestal::Messages", "Text (*.txt)|*.txt");
// A system log has no extension (syslog, messages, syslog.1): the second
// entry lets it be picked from the list.
// Journal files are read through the journal's library.
constexpr const char* kOpenFilter = QT_TRANSLATE_NOOP(
    "kestal::Messages", "Text (*.txt)|*.txt|All files (*)|*|Journal files (*.journal)|*.journal");

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent, std::string logFile)
    : MainWindow(platform, parent,
                 logFile.empty() ? std::vector<std::string>{}
                                 : std::vector<std::string>{std::move(logFile)}) {}

MainWindow::MainWindow(Platform& platform, QWidget* parent, JournalSource journal)
    : MainWindow(platform, parent, std::vector<std::string>{}, std::move(journal)) {}

MainWindow::MainWindow(Platform& platform, QWidget* parent, std::vector<std::string> logFiles)
    : MainWindow(platform, parent, std::move(logFiles), std::nullopt) {}

MainWindow::MainWindow(Platform& platform, QWidget* parent, std::vector<std::string> logFiles,
                       std::optional<JournalSource> journal)
    : QMainWindow(parent),
      platform_(platform),
      view_(state_),
      startLogFiles_(std::move(logFiles)),
      startJournal_(std::move(journal)) {
    setObjectName(QStringLiteral("frmKestal"));
    setWindowTitle(latin1(kProgramTitle));
    setWindowIcon(programIcon());
    setFont(systemFont());
    resize(648, 460);

    setUpSaveDialog(saveDialog_, kTextFilter, "txt");
    openDialog_.kind = FileDialog::Kind::Open;
    openDialog_.defaultExt = "txt";
    openDialog_.filter = kOpenFilter;
    openDialog_.multiple = true;  // rotated logs chosen together are read as one

    createMenus();
    createClientArea();
    setAcceptDrops(true);
    setUpAndLoad();
    placeRemembered_ = rememberPlace(*this, settingsKind() + QStringLiteral("/MainWindow"));
}

QString MainWindow::settingsKind() const { return logKindKey(state_.table.columns()); }

void MainWindow::showAsLastTime() {
    // The first time, maximised; afterwards as the user left it.
    if (placeRemembered_)
        show();
    else
        showMaximized();
}

MainWindow::~MainWindow() { state_.lines.clear(); }

void MainWindow::useWindows(AboutBox& about, CallDetailsWindow& details) {
    aboutBox_ = &about;
    detailsWindow_ = &details;
    rememberPlace(details, settingsKind() + QStringLiteral("/CallDetails"));
}

void MainWindow::createMenus() {
    QMenuBar* mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [this](QMenu* menu, const char* name, const char* caption,
                       void (MainWindow::*handler)()) {
        QAction* action = menu->addAction(tr(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    fileMenu_ = mainMenu->addMenu(tr("&File"));
    fileMenu_->setObjectName(QStringLiteral("File1"));
    // The later items stand among these by what they do (Recent Logs after
    // Open, Save Shown Calls As... after Save Table As...), Exit last.
    item(fileMenu_, "Open1", QT_TR_NOOP("&Open"), &MainWindow::openLog)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    item(fileMenu_, "Copy1", QT_TR_NOOP("&Copy..."), &MainWindow::copyLog);
    item(fileMenu_, "SaveAs1", QT_TR_NOOP("Save Table &As..."), &MainWindow::saveTableAs);
    // The report is of a pppd log's sessions: greyed for the dial-up log.
    QAction* report = item(fileMenu_, "SaveReportAs1", QT_TR_NOOP("Save &Report As..."),
                           &MainWindow::saveReportAs);
    connect(fileMenu_, &QMenu::aboutToShow, report,
            [this, report] { report->setEnabled(state_.pppd.has_value()); });
    item(fileMenu_, "Print1", QT_TR_NOOP("&Print..."), &MainWindow::printTable)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(fileMenu_, "N1");
    clearAction_ = item(fileMenu_, "Clear1", QT_TR_NOOP("Clear"), &MainWindow::clearLog);
    separator(fileMenu_, "N2");
    item(fileMenu_, "Exit1", QT_TR_NOOP("E&xit"), &MainWindow::exitProgram)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The menus that came later: Edit after File, View after Call. Each
    // feature adds its items below; a menu without any stays hidden.
    editMenu_ = mainMenu->addMenu(tr("&Edit"));
    editMenu_->setObjectName(QStringLiteral("Edit1"));

    QMenu* callMenu = mainMenu->addMenu(tr("&Call"));
    callMenu->setObjectName(QStringLiteral("Call1"));
    item(callMenu, "ShowCallDetails2", QT_TR_NOOP("&Show Call Details"),
         &MainWindow::showCallDetails);
    // Statistics and Trends read either kind of log.
    addCallFigureItems(
        *callMenu, *this, platform_, [this] { return shownCalls(); }, settingsKind());

    viewMenu_ = mainMenu->addMenu(tr("&View"));
    viewMenu_->setObjectName(QStringLiteral("View1"));

    QMenu* helpMenu = mainMenu->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("Help1"));
    item(helpMenu, "About1", QT_TR_NOOP("&About..."), &MainWindow::showAbout);

    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    item(gridMenu_, "ShowCallDetails1", QT_TR_NOOP("&Show Call Details"),
         &MainWindow::showCallDetails);

    createLogMenus();
    for (QMenu* menu : {editMenu_, viewMenu_}) menu->menuAction()->setVisible(!menu->isEmpty());
}

void MainWindow::createClientArea() {
    // The grid fills what the status bar leaves; the status bar's panel is
    // docked to the bottom. Placed by hand so that hiding the grid moves
    // nothing.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->installEventFilter(this);
    setCentralWidget(client_);

    model_ = new CallTableModel(state_.table, this);
    callGrid_ = new CallGrid(client_);
    callGrid_->setObjectName(QStringLiteral("Grid1"));
    callGrid_->setAccessibleName(tr("Calls"));
    callGrid_->setAccessibleDescription(tr("One row for each call of the log"));
    callGrid_->onKeyDown = [this](QKeyEvent* event) { return gridKeyPressed(event); };
    callGrid_->onDoubleClick = [this] { showCallDetails(); };
    callGrid_->onContextMenu = [this](const QPoint& globalPos) {
        if (!view_.inputBlocked()) gridMenu_->popup(globalPos);
    };

    statusPanel_ = new QFrame(client_);
    statusPanel_->setObjectName(QStringLiteral("Panel1"));
    statusPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    statusPanel_->setLineWidth(1);
    auto* panel1Layout = new QHBoxLayout(statusPanel_);
    panel1Layout->setContentsMargins(1, 1, 1, 1);
    panel1Layout->setSpacing(0);

    statusInset_ = new QFrame(statusPanel_);
    statusInset_->setObjectName(QStringLiteral("Panel2"));
    statusInset_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusInset_->setLineWidth(1);
    panel1Layout->addWidget(statusInset_);

    statusLabel_ = new QLabel(statusInset_);
    statusLabel_->setObjectName(QStringLiteral("Label1"));
    statusLabel_->setAccessibleName(tr("Number of calls"));
    statusLabel_->move(8, 1);
    statusLabel_->setTextFormat(Qt::PlainText);

    repairGauge_ = new ProgressGauge(statusInset_);
    repairGauge_->setObjectName(QStringLiteral("Gauge1"));
    repairGauge_->setAccessibleName(tr("Repair progress"));
    repairGauge_->setGeometry(300, 2, 333, 14);
    repairGauge_->setMinValue(0);
    repairGauge_->setMaxValue(100);
    repairGauge_->setProgress(0);
    repairGauge_->hide();

    // The grid shows the table through the sort and the filter.
    shown_ =
        new CallViewControls({platform_, state_.table, model_, callGrid_, statusLabel_, saveDialog_,
                              [this](const std::function<void()>& body) { command(body); }},
                             client_);
    shown_->addMenus({fileMenu_, fileMenu_->findChild<QAction*>(QStringLiteral("Print1"))},
                     editMenu_, viewMenu_, gridMenu_);
    // Outages... last in the View menu, after the grid's own items.
    addOutagesItem(
        *viewMenu_, *this, platform_, [this] { return shownCalls(); }, settingsKind());
    connect(shown_, &CallViewControls::layoutNeeded, this, &MainWindow::layoutClientArea);
    // The grid's current row is the table's current row.
    connect(callGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (const int row = shown_->proxy()->tableRow(current.row()); row >= 0)
                    state_.table.setCurrentRow(row);
            });

    view_.setWidgets({this,
                      callGrid_,
                      model_,
                      statusLabel_,
                      repairGauge_,
                      clearAction_,
                      shown_,
                      {dialUpOnlyItems_.begin(), dialUpOnlyItems_.end()}});
}

void MainWindow::layoutClientArea() {
    const int width = client_->width();
    const int height = client_->height();
    const int top = shown_->placeFilterBar(width);
    statusPanel_->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    callGrid_->setGeometry(0, top, width, std::max(0, height - kStatusBarHeight - top));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) layoutClientArea();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::command(const std::function<void()>& body) {
    if (view_.inputBlocked()) return;
    runCommand(platform_, body);
}

void MainWindow::setUpAndLoad() {
    // The lines are created empty with state_ itself.
    layoutClientArea();
    statusLabel_->setFont(font8pt("Arial"));
    callGrid_->setFont(font8pt("Arial"));
    for (int column = 0; column < state_.table.columnCount(); ++column)
        callGrid_->setColumnWidth(column,
                                  state_.table.columns()[static_cast<std::size_t>(column)].width);
    // The widths, hidden columns and sort the user left last time, before
    // the first load so that its calls come in that order.
    restoreGridLayout(*callGrid_, settingsKind());
    view_.selectFirstRow();

    runCommand(platform_, [this] {
        if (startJournal_)
            commands::openJournal(state_, platform_, view_, *startJournal_);
        else if (startLogFiles_.size() > 1)
            commands::openLogFiles(state_, platform_, view_, startLogFiles_);
        else
            commands::startUp(state_, platform_, view_,
                              startLogFiles_.empty() ? std::string() : startLogFiles_.front());
        logChosen(!startLogFiles_.empty() || startJournal_);
    });
    // The only control that takes the focus has it when the window first
    // appears, whatever the load did.
    callGrid_->setFocus();
}

void MainWindow::openLog() {
    command([this] {
        if (commands::openLog(state_, platform_, view_, openDialog_)) logChosen(true);
    });
}

void MainWindow::copyLog() {
    command([this] { commands::copyLog(state_.lines, platform_, saveDialog_); });
}

void MainWindow::saveReportAs() {
    command([this] {
        if (!state_.pppd) return;
        setUpSaveDialog(reportDialog_, "PDF Document (*.pdf)|*.pdf", "pdf");
        if (!platform_.executeFileDialog(reportDialog_)) return;
        const BusyCursor busy(platform_);
        const std::string name = state_.journal && state_.logPath.empty()
                                     ? state_.journal->name
                                     : std::filesystem::path(state_.logPath).filename().string();
        writePppdReport(pppdReportContent(name, state_.table, state_.pppd->span),
                        reportDialog_.fileName);
    });
}

void MainWindow::saveTableAs() {
    command([this] { commands::saveTableAs(state_.table, platform_, saveDialog_); });
}

void MainWindow::printTable() {
    command([this] { commands::printTable(state_.table, platform_); });
}

void MainWindow::clearLog() {
    command([this] { commands::clearLog(state_, platform_); });
}

void MainWindow::exitProgram() {
    command([this] { close(); });
}

void MainWindow::showAbout() {
    command([this] {
        if (!aboutBox_) return;
        aboutBox_->show();
        aboutBox_->raise();
        aboutBox_->activateWindow();
    });
}

void MainWindow::showCallDetails() {
    command([this] {
        CallDetailsWindow* details = detailsWindow_;
        // The call the user sees selected, whatever the order and filter;
        // nothing when the filter shows no call.
        if (!details || selectedRow() < 0) return;
        details->clearLinesHidden();
        commands::showCallDetails(state_, platform_, [details](std::vector<std::string> lines) {
            details->setLines(std::move(lines));
        });
        details->showDetails();
    });
}

ShownCalls MainWindow::shownCalls() {
    ShownCalls calls;
    calls.table = &state_.table;
    // The calls the grid shows, in its order, through its sort and filter.
    calls.rows = [this] {
        if (state_.table.callCount() == 0) return std::vector<int>();
        return shown_->proxy()->shownRows();
    };
    calls.span = [this] { return state_.pppd ? state_.pppd->span : LogSpan{}; };
    calls.pppdRows = [this] {
        if (state_.table.callCount() == 0 || !state_.pppd) return std::vector<int>();
        return shown_->proxy()->shownRows();
    };
    calls.select = [this](int tableRow) {
        if (tableRow < 0 || tableRow >= state_.table.rowCount()) return;
        shown_->selectTableRow(tableRow);
    };
    calls.gridModel = callGrid_->model();
    calls.settings = platform_.regionalSettings();
    return calls;
}

bool MainWindow::gridKeyPressed(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        showCallDetails();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        // The view's own copy would take one cell's text only.
        command([this] { shown_->copyCall(); });
        return true;
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A repair that lets events through must not lose its window.
    if (view_.inputBlocked()) {
        event->ignore();
        return;
    }
    event->accept();
    saveGridLayout(*callGrid_, settingsKind());
    QMainWindow::closeEvent(event);
    emit closed();
}

}  // namespace kestal
