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

#include "app/AboutBox.h"
#include "app/CallDetailsWindow.h"
#include "app/CallFigureMenus.h"
#include "app/Windows.h"
#include "commands/ClearLog.h"
#include "commands/CopyLog.h"
#include "commands/LoadLog.h"
#include "commands/Print.h"
#include "commands/SaveTableAs.h"
#include "commands/ShowCallDetails.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

constexpr int kStatusBarHeight = 20;
constexpr const char* kTextFilter = "Text (*.txt)|*.txt";

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent, std::string logFile)
    : QMainWindow(parent), platform_(platform), view_(state_), startLogFile_(std::move(logFile)) {
    mainWindow = this;
    setObjectName(QStringLiteral("frmKestal"));
    setWindowTitle(latin1(kProgramTitle));
    setWindowIcon(programIcon());
    setFont(systemFont());
    resize(648, 460);

    saveDialog.kind = FileDialog::Kind::Save;
    saveDialog.defaultExt = "txt";
    saveDialog.filter = kTextFilter;
    saveDialog.overwritePrompt = true;
    saveDialog.hideReadOnly = true;
    openDialog.kind = FileDialog::Kind::Open;
    openDialog.defaultExt = "txt";
    openDialog.filter = kTextFilter;

    createMenus();
    createClientArea();
    setAcceptDrops(true);
    setUpAndLoad();
}

MainWindow::~MainWindow() {
    state_.lines.clear();
    if (mainWindow == this) mainWindow = nullptr;
}

void MainWindow::createMenus() {
    mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [this](QMenu* menu, const char* name, const char* caption,
                       void (MainWindow::*handler)()) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    fileMenu = mainMenu->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("File1"));
    openAction = item(fileMenu, "Open1", "&Open", &MainWindow::openLog);
    openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    copyAction = item(fileMenu, "Copy1", "&Copy...", &MainWindow::copyLog);
    saveTableAsAction = item(fileMenu, "SaveAs1", "Save Table &As...", &MainWindow::saveTableAs);
    printAction = item(fileMenu, "Print1", "&Print...", &MainWindow::printTable);
    printAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    separatorAfterPrint = separator(fileMenu, "N1");
    clearAction = item(fileMenu, "Clear1", "Clear", &MainWindow::clearLog);
    separatorAfterClear = separator(fileMenu, "N2");
    exitAction = item(fileMenu, "Exit1", "E&xit", &MainWindow::exitProgram);

    // The menus that came later: Edit after File, View after Call. Each
    // feature adds its items below; a menu without any stays hidden.
    editMenu = mainMenu->addMenu(QStringLiteral("&Edit"));
    editMenu->setObjectName(QStringLiteral("Edit1"));

    callMenu = mainMenu->addMenu(QStringLiteral("&Call"));
    callMenu->setObjectName(QStringLiteral("Call1"));
    showCallDetailsAction =
        item(callMenu, "ShowCallDetails2", "&Show Call Details", &MainWindow::showCallDetails);
    addCallFigureItems(*this, platform_);

    viewMenu = mainMenu->addMenu(QStringLiteral("&View"));
    viewMenu->setObjectName(QStringLiteral("View1"));

    helpMenu = mainMenu->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("Help1"));
    aboutAction = item(helpMenu, "About1", "&About...", &MainWindow::showAbout);

    gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("PopupMenu1"));
    gridShowCallDetailsAction =
        item(gridMenu, "ShowCallDetails1", "&Show Call Details", &MainWindow::showCallDetails);

    createLogMenus();
    for (QMenu* menu : {editMenu, viewMenu}) menu->menuAction()->setVisible(!menu->isEmpty());
}

void MainWindow::createClientArea() {
    // callGrid fills what the status bar leaves; statusPanel is docked to the
    // bottom. Placed by hand so that hiding the grid moves nothing.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->installEventFilter(this);
    setCentralWidget(client_);

    model_ = new CallTableModel(state_.table, this);
    callGrid = new CallGrid(client_);
    callGrid->setObjectName(QStringLiteral("Grid1"));
    callGrid->onKeyDown = [this](QKeyEvent* event) { return gridKeyPressed(event); };
    callGrid->onDoubleClick = [this] { showCallDetails(); };
    callGrid->onContextMenu = [this](const QPoint& globalPos) {
        if (!view_.inputBlocked()) gridMenu->popup(globalPos);
    };

    statusPanel = new QFrame(client_);
    statusPanel->setObjectName(QStringLiteral("Panel1"));
    statusPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    statusPanel->setLineWidth(1);
    auto* panel1Layout = new QHBoxLayout(statusPanel);
    panel1Layout->setContentsMargins(1, 1, 1, 1);
    panel1Layout->setSpacing(0);

    statusInset = new QFrame(statusPanel);
    statusInset->setObjectName(QStringLiteral("Panel2"));
    statusInset->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusInset->setLineWidth(1);
    panel1Layout->addWidget(statusInset);

    statusLabel = new QLabel(statusInset);
    statusLabel->setObjectName(QStringLiteral("Label1"));
    statusLabel->move(8, 1);
    statusLabel->setTextFormat(Qt::PlainText);

    repairGauge = new ProgressGauge(statusInset);
    repairGauge->setObjectName(QStringLiteral("Gauge1"));
    repairGauge->setGeometry(300, 2, 333, 14);
    repairGauge->setMinValue(0);
    repairGauge->setMaxValue(100);
    repairGauge->setProgress(0);
    repairGauge->hide();

    // The grid shows the table through the sort and the filter.
    shown_ = new CallViewControls(
        {platform_, state_.table, state_.lines, model_, callGrid, statusLabel, saveDialog,
         [this](const std::function<void()>& body) { command(body); }},
        client_);
    shown_->addMenus(fileMenu, editMenu, viewMenu, gridMenu);
    connect(shown_, &CallViewControls::layoutNeeded, this, &MainWindow::layoutClientArea);
    // The grid's current row is the table's current row.
    connect(callGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (const int row = shown_->proxy()->tableRow(current.row()))
                    state_.table.setCurrentRow(row);
            });

    view_.setWidgets({this, callGrid, model_, statusLabel, repairGauge, clearAction, shown_});
}

void MainWindow::layoutClientArea() {
    const int width = client_->width();
    const int height = client_->height();
    FilterBar* bar = shown_->filterBar();
    const int top = bar->isHidden() ? 0 : bar->sizeHint().height();
    if (top > 0) bar->setGeometry(0, 0, width, top);
    statusPanel->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    callGrid->setGeometry(0, top, width, std::max(0, height - kStatusBarHeight - top));
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
    statusLabel->setFont(font8pt("Arial"));
    callGrid->setFont(font8pt("Arial"));
    for (int column = 0; column < kColumnCount; ++column)
        callGrid->setColumnWidth(column, kColumns[static_cast<std::size_t>(column)].width);
    view_.selectFirstRow();

    runCommand(platform_, [this] {
        commands::startUp(state_, platform_, view_, startLogFile_);
        logChosen(!startLogFile_.empty());
    });
    // The only control that takes the focus has it when the window first
    // appears, whatever the load did.
    callGrid->setFocus();
}

void MainWindow::openLog() {
    command([this] {
        if (commands::openLog(state_, platform_, view_, openDialog)) logChosen(true);
    });
}

void MainWindow::copyLog() {
    command([this] { commands::copyLog(state_.lines, platform_, saveDialog); });
}

void MainWindow::saveTableAs() {
    command([this] { commands::saveTableAs(state_.table, platform_, saveDialog); });
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
    command([] {
        if (!aboutBox) return;
        aboutBox->show();
        aboutBox->raise();
        aboutBox->activateWindow();
    });
}

void MainWindow::showCallDetails() {
    command([this] {
        CallDetailsWindow* details = callDetailsWindow;
        // The call the user sees selected, whatever the order and filter;
        // nothing when the filter shows no call.
        if (!details || selectedRow() == 0) return;
        details->callLines->hide();
        details->clearLines();
        commands::showCallDetails(state_, platform_, [details](std::vector<std::string> lines) {
            details->setLines(std::move(lines));
        });
        details->callLines->show();
        details->showDetails();
    });
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
    QMainWindow::closeEvent(event);
    emit closed();
}

}  // namespace kestal
