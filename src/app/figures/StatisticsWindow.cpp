#include "app/figures/StatisticsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "app/look/WindowLook.h"
#include "commands/CallCountText.h"
#include "commands/Messages.h"
#include "commands/SaveStatistics.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

void StatisticsModel::setRows(std::vector<StatisticsRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    pppdRows_.clear();
    pppd_ = false;
    endResetModel();
}

void StatisticsModel::setPppdRows(std::vector<PppdStatisticsRow> rows) {
    beginResetModel();
    pppdRows_ = std::move(rows);
    rows_.clear();
    pppd_ = true;
    endResetModel();
}

std::string_view StatisticsModel::text(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    return pppd_ ? std::string_view(pppdRows_[r][c]) : std::string_view(rows_[r][c]);
}

std::string_view StatisticsModel::header(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return pppd_ ? kPppdStatisticsHeaders[c] : kStatisticsHeaders[c];
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(pppd_ ? pppdRows_.size() : rows_.size());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return pppd_ ? kPppdStatisticsColumnCount : kStatisticsColumnCount;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                   : int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    const std::string_view cell = text(index.row(), index.column());
    return QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size()));
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    // The title in the user's language; copies and saved files keep English.
    const std::string_view name = header(section);
    return QCoreApplication::translate("kestal::Statistics", std::string(name).c_str());
}

StatisticsWindow::StatisticsWindow(ShownCalls calls, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), calls_(std::move(calls)), platform_(platform) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(tr("Statistics - %1").arg(latin1(kProgramTitle)));
    setWindowIcon(programIcon());

    periodBox_ = new QComboBox(this);
    periodBox_->setObjectName(QStringLiteral("PeriodBox"));
    periodBox_->setAccessibleName(tr("Period"));
    periodBox_->addItem(tr("Whole log"), int(StatisticsPeriod::All));
    periodBox_->addItem(tr("Day"), int(StatisticsPeriod::Day));
    periodBox_->addItem(tr("Week (ISO 8601)"), int(StatisticsPeriod::Week));
    periodBox_->addItem(tr("Month"), int(StatisticsPeriod::Month));
    auto* periodLabel = new QLabel(tr("&Period:"), this);
    periodLabel->setBuddy(periodBox_);
    callsLabel_ = new QLabel(this);
    callsLabel_->setObjectName(QStringLiteral("CallsLabel"));
    callsLabel_->setAccessibleName(tr("Calls counted"));

    model_ = new StatisticsModel(this);
    figuresGrid_ = new QTableView(this);
    figuresGrid_->setObjectName(QStringLiteral("FiguresGrid"));
    figuresGrid_->setAccessibleName(tr("Statistics"));
    figuresGrid_->setAccessibleDescription(tr("One row of figures per period"));
    figuresGrid_->setModel(model_);
    figuresGrid_->verticalHeader()->hide();
    figuresGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    figuresGrid_->verticalHeader()->setDefaultSectionSize(20);
    figuresGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    figuresGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Widths are fitted to the figures after each grouping (fitColumns):
    // ResizeToContents would measure the cells of a thousand rows each time.
    figuresGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    copyButton_ = new QPushButton(tr("&Copy"), this);
    copyButton_->setObjectName(QStringLiteral("CopyButton"));
    copyButton_->setAccessibleName(tr("Copy"));
    saveAsButton_ = new QPushButton(tr("Save &As..."), this);
    saveAsButton_->setObjectName(QStringLiteral("SaveAsButton"));
    saveAsButton_->setAccessibleName(tr("Save As"));
    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    closeButton_->setAccessibleName(tr("Close"));

    auto* top = new QHBoxLayout;
    top->addWidget(periodLabel);
    top->addWidget(periodBox_);
    top->addStretch();
    top->addWidget(callsLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveAsButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(figuresGrid_);
    layout->addLayout(buttons);
    resize(640, 300);

    connect(periodBox_, &QComboBox::currentIndexChanged, this, &StatisticsWindow::regroup);
    connect(copyButton_, &QPushButton::clicked, this, &StatisticsWindow::copyFigures);
    connect(saveAsButton_, &QPushButton::clicked, this, &StatisticsWindow::saveFigures);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    onShownCallsChanged(calls_, this, [this] { refresh(); });
    refresh();
}

void StatisticsWindow::keyPressEvent(QKeyEvent* event) {
    // Esc closes the window, as it closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

StatisticsPeriod StatisticsWindow::period() const {
    return static_cast<StatisticsPeriod>(periodBox_->currentData().toInt());
}

void StatisticsWindow::refresh() {
    runCommand(platform_, [this] {
        rows_ = calls_.rows();
        const bool pppd = calls_.table && isPppdTable(*calls_.table);
        callsLabel_->setText((pppd ? tr("%1 rows") : tr("%1 calls")).arg(rows_.size()));
    });
    regroup();
}

void StatisticsWindow::regroup() {
    runCommand(platform_, [this] {
        if (isPppdTable(*calls_.table)) {
            std::vector<PppdStatisticsRow> rows = pppdStatisticsOf(
                *calls_.table, rows_, period(), calls_.span ? calls_.span() : LogSpan{});
            useRegionalSeparators(rows, calls_.settings);
            model_->setPppdRows(std::move(rows));
        } else {
            std::vector<StatisticsRow> rows = statisticsOf(*calls_.table, rows_, period());
            useRegionalSeparators(rows, calls_.settings);
            model_->setRows(std::move(rows));
        }
        fitColumns();
        // A window on the screen keeps the width the user gave it.
        if (!isVisible()) fitWidth();
    });
}

void StatisticsWindow::fitColumns() {
    // The figures are digits, signs and separators: in the fonts of the
    // desktop their digits are all equally wide, so the longest text is the
    // widest. The periods' names are measured one by one ("unknown" is no
    // longer than "2026-12" but wider).
    // Measured in fractions of a pixel and rounded up, as the cells lay out
    // their text: whole-pixel advances fall a pixel short.
    const QFontMetricsF metrics(figuresGrid_->font());
    // The cell's text stands inside a margin each side, and the grid line
    // takes the cell's last pixel.
    const int margin = 2 * (figuresGrid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                               nullptr, figuresGrid_) +
                            1) +
                       (figuresGrid_->showGrid() ? 1 : 0);
    const auto advance = [&metrics](std::string_view text) {
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(
            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())))));
    };
    QHeaderView* header = figuresGrid_->horizontalHeader();
    const int rows = model_->rowCount();
    for (int c = 0; c < model_->columnCount(); ++c) {
        int widest = 0;
        std::string_view longest;
        for (int r = 0; r < rows; ++r) {
            const std::string_view cell = model_->text(r, c);
            if (c == 0) {
                widest = std::max(widest, advance(cell));
            } else if (cell.size() > longest.size()) {
                longest = cell;
            }
        }
        widest = std::max(widest, advance(longest));
        header->resizeSection(c, std::max(header->sectionSizeHint(c), widest + margin));
    }
}

void StatisticsWindow::fitWidth() {
    // The columns, the grid's frame, room for its scroll bar and the
    // window's margins.
    const QMargins margins = layout()->contentsMargins();
    const int wanted = figuresGrid_->horizontalHeader()->length() + 2 * figuresGrid_->frameWidth() +
                       figuresGrid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                          figuresGrid_->verticalScrollBar()) +
                       margins.left() + margins.right();
    int width = std::max(wanted, minimumSizeHint().width());
    if (const QScreen* shownOn = screen()) {
        // The window's frame, as far as it is known, also has to fit.
        const int frame = std::max(0, frameGeometry().width() - geometry().width());
        width = std::min(width, shownOn->availableGeometry().width() - frame);
    }
    resize(width, height());
}

std::string StatisticsWindow::figuresText(StatisticsLayout layout, bool header) const {
    if (model_->pppd()) return pppdStatisticsText(model_->pppdRows(), layout, header);
    return statisticsText(model_->rows(), layout, header);
}

void StatisticsWindow::copyFigures() {
    const std::string text = figuresText(StatisticsLayout::TabSeparated, true);
    QApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void StatisticsWindow::saveFigures() {
    runCommand(platform_, [this] {
        commands::saveStatistics(
            [this](StatisticsLayout layout, bool header) { return figuresText(layout, header); },
            platform_, saveDialog_);
    });
}

}  // namespace kestal
