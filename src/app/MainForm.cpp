#include "app/MainForm.h"

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

#include "app/AboutForm.h"
#include "app/CallForm.h"
#include "app/Windows.h"
#include "details/CallDetails.h"
#include "output/ClearLog.h"
#include "output/Printouts.h"
#include "output/TableExport.h"
#include "platform/Errors.h"

namespace kestal {

namespace {

constexpr int kStatusBarHeight = 20;
constexpr const char* kTextFilter = "Text (*.txt)|*.txt";

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The hourglass for the length of a scope, also when a command fails.
class BusyCursor {
public:
    explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.setBusyCursor(true); }
    ~BusyCursor() { restore(); }
    void restore() {
        if (busy_) platform_.setBusyCursor(false);
        busy_ = false;
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& platform_;
    bool busy_ = true;
};

}  // namespace

TfrmKestal::TfrmKestal(Platform& platform, QWidget* parent, std::string logFile)
    : QMainWindow(parent), platform_(platform), startLogFile_(std::move(logFile)) {
    frmKestal = this;
    setObjectName(QStringLiteral("frmKestal"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(programIcon());
    setFont(systemFont());
    resize(648, 460);

    SaveDialog1.kind = FileDialog::Kind::Save;
    SaveDialog1.defaultExt = "txt";
    SaveDialog1.filter = kTextFilter;
    SaveDialog1.overwritePrompt = true;
    SaveDialog1.hideReadOnly = true;
    OpenDialog1.kind = FileDialog::Kind::Open;
    OpenDialog1.defaultExt = "txt";
    OpenDialog1.filter = kTextFilter;

    createMenus();
    createClientArea();
    setAcceptDrops(true);
    FormCreate();
}

TfrmKestal::~TfrmKestal() {
    FormDestroy();
    if (frmKestal == this) frmKestal = nullptr;
}

void TfrmKestal::createMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [this](QMenu* menu, const char* name, const char* caption,
                       void (TfrmKestal::*handler)()) {
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

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Open1 = item(File1, "Open1", "&Open", &TfrmKestal::Open1Click);
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Copy1 = item(File1, "Copy1", "&Copy...", &TfrmKestal::Copy1Click);
    SaveAs1 = item(File1, "SaveAs1", "Save Table &As...", &TfrmKestal::SaveAs1Click);
    Print1 = item(File1, "Print1", "&Print...", &TfrmKestal::Print1Click);
    Print1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    N1 = separator(File1, "N1");
    Clear1 = item(File1, "Clear1", "Clear", &TfrmKestal::Clear1Click);
    N2 = separator(File1, "N2");
    Exit1 = item(File1, "Exit1", "E&xit", &TfrmKestal::Exit1Click);

    // The menus that came later: Edit after File, View after Call. Each
    // feature adds its items below; a menu without any stays hidden.
    Edit1 = MainMenu1->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));

    Call1 = MainMenu1->addMenu(QStringLiteral("&Call"));
    Call1->setObjectName(QStringLiteral("Call1"));
    ShowCallDetails2 =
        item(Call1, "ShowCallDetails2", "&Show Call Details", &TfrmKestal::Grid1DblClick);

    View1 = MainMenu1->addMenu(QStringLiteral("&View"));
    View1->setObjectName(QStringLiteral("View1"));

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    About1 = item(Help1, "About1", "&About...", &TfrmKestal::About1Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    ShowCallDetails1 =
        item(PopupMenu1, "ShowCallDetails1", "&Show Call Details", &TfrmKestal::Grid1DblClick);

    createLogMenus();
    for (QMenu* menu : {Edit1, View1}) menu->menuAction()->setVisible(!menu->isEmpty());
}

void TfrmKestal::createClientArea() {
    // Grid1 fills what the status bar leaves; Panel1 is docked to the
    // bottom. Placed by hand so that hiding the grid moves nothing.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->installEventFilter(this);
    setCentralWidget(client_);

    model_ = new CallTableModel(state_.table, this);
    Grid1 = new TStringGrid(client_);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(model_);
    Grid1->onKeyDown = [this](QKeyEvent* event) { return Grid1KeyDown(event); };
    Grid1->onDblClick = [this] { Grid1DblClick(); };
    Grid1->onMouseMove = [this](QMouseEvent* event) { Grid1MouseMove(event); };
    Grid1->onContextMenu = [this](const QPoint& globalPos) {
        if (!inputBlocked_) PopupMenu1->popup(globalPos);
    };
    // The grid's current row is the table's current row.
    connect(Grid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    state_.table.setCurrentRow(CallTableModel::tableRow(current.row()));
            });

    Panel1 = new QFrame(client_);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    auto* panel1Layout = new QHBoxLayout(Panel1);
    panel1Layout->setContentsMargins(1, 1, 1, 1);
    panel1Layout->setSpacing(0);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(1);
    panel1Layout->addWidget(Panel2);

    Label1 = new QLabel(Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 1);
    Label1->setTextFormat(Qt::PlainText);

    Gauge1 = new TGauge(Panel2);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(300, 2, 333, 14);
    Gauge1->setMinValue(0);
    Gauge1->setMaxValue(100);
    Gauge1->setProgress(0);
    Gauge1->hide();
}

void TfrmKestal::layoutClientArea() {
    const int width = client_->width();
    const int height = client_->height();
    Panel1->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    Grid1->setGeometry(0, 0, width, std::max(0, height - kStatusBarHeight));
}

bool TfrmKestal::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) layoutClientArea();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmKestal::command(const std::function<void()>& body) {
    if (inputBlocked_) return;
    runCommand(platform_, body);
}

void TfrmKestal::FormCreate() {
    // LogLines is created empty with state_ itself.
    layoutClientArea();
    Label1->setFont(font8pt("Arial"));
    Grid1->setFont(font8pt("Arial"));
    for (int column = 0; column < kColumnCount; ++column)
        Grid1->setColumnWidth(column, kColumns[static_cast<std::size_t>(column)].width);
    selectFirstRow();

    runCommand(platform_, [this] {
        startUp(state_, platform_, *this, startLogFile_);
        logChosen(!startLogFile_.empty());
    });
    // The only control that takes the focus has it when the window first
    // appears, whatever the load did.
    Grid1->setFocus();
}

void TfrmKestal::FormDestroy() { state_.lines.clear(); }

void TfrmKestal::Open1Click() {
    command([this] {
        if (kestal::Open1Click(state_, platform_, *this, OpenDialog1)) logChosen(true);
    });
}

void TfrmKestal::Copy1Click() {
    command([this] { kestal::Copy1Click(state_.lines, platform_, SaveDialog1); });
}

void TfrmKestal::SaveAs1Click() {
    command([this] { kestal::SaveAs1Click(state_.table, platform_, SaveDialog1); });
}

void TfrmKestal::Print1Click() {
    command([this] { kestal::Print1Click(state_.table, platform_); });
}

void TfrmKestal::Clear1Click() {
    command([this] { kestal::Clear1Click(state_, platform_); });
}

void TfrmKestal::Exit1Click() {
    command([this] { close(); });
}

void TfrmKestal::About1Click() {
    command([] {
        if (!AboutBox) return;
        AboutBox->show();
        AboutBox->raise();
        AboutBox->activateWindow();
    });
}

void TfrmKestal::Grid1DblClick() {
    command([this] {
        if (!FrmCall) return;
        FrmCall->Memo1->hide();
        FrmCall->clearLines();
        BusyCursor busy(platform_);
        const int row = state_.table.currentRow();
        const std::string_view startTime = row >= 1 && row < state_.table.rowCount()
                                               ? state_.table.cell(0, row)
                                               : std::string_view();
        std::vector<std::string> lines =
            gatherCallDetails(state_.lines, startTime, [this](std::string_view warning) {
                platform_.messageDlg(warning, DialogType::Warning, DialogButtons::Ok);
            });
        FrmCall->setLines(std::move(lines));
        busy.restore();
        FrmCall->Memo1->show();
        FrmCall->showDetails();
    });
}

bool TfrmKestal::Grid1KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Grid1DblClick();
        return true;
    }
    return false;
}

void TfrmKestal::Grid1MouseMove(QMouseEvent*) {
    // Nothing: the grid shows no tooltip, whatever lies under the mouse.
}

void TfrmKestal::closeEvent(QCloseEvent* event) {
    // A repair that lets events through must not lose its window.
    if (inputBlocked_) {
        event->ignore();
        return;
    }
    event->accept();
    QMainWindow::closeEvent(event);
    emit closed();
}

void TfrmKestal::setGridVisible(bool visible) {
    // Hiding the grid takes the focus from it for good: showing it again
    // doesn't give it back, the user clicks into the grid first.
    if (!visible && focusWidget() == Grid1) Grid1->clearFocus();
    Grid1->setVisible(visible);
}

void TfrmKestal::beginTableChange() { model_->beginTableChange(); }

void TfrmKestal::endTableChange() {
    model_->endTableChange();
    // The reset forgot the view's selection; the table still knows its
    // current row (row 1 after an Open's reset, also when the load fails).
    selectTableRow(state_.table.currentRow());
}

void TfrmKestal::selectFirstRow() { selectTableRow(1); }

void TfrmKestal::selectTableRow(int row) {
    if (row < 1 || row >= state_.table.rowCount()) return;
    state_.table.setCurrentRow(row);
    const QModelIndex index = model_->index(CallTableModel::modelRow(row), 0);
    Grid1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid1->scrollTo(index);
}

void TfrmKestal::setStatusText(std::string_view text) {
    Label1->setText(latin1(text));
    Label1->adjustSize();
}

void TfrmKestal::setGaugeVisible(bool visible) { Gauge1->setVisible(visible); }

void TfrmKestal::setGaugeProgress(int progress) { Gauge1->setProgress(progress); }

void TfrmKestal::setCaption(std::string_view caption) {
    // The caption holds a path: the system's bytes, shown as the system
    // names them.
    setWindowTitle(
        QFile::decodeName(QByteArray(caption.data(), static_cast<qsizetype>(caption.size()))));
}

void TfrmKestal::setClearEnabled(bool enabled) { Clear1->setEnabled(enabled); }

void TfrmKestal::setInputBlocked(bool blocked) { inputBlocked_ = blocked; }

}  // namespace kestal
