#include "app/figures/StatisticsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "app/look/WindowLook.h"
#include "commands/Messages.h"
#include "commands/SaveStatistics.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

void StatisticsModel::setRows(std::vector<StatisticsRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kStatisticsColumnCount;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                   : int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    const std::string& text =
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    const std::string_view name = kStatisticsHeaders[static_cast<std::size_t>(section)];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

StatisticsWindow::StatisticsWindow(ShownCalls calls, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), calls_(std::move(calls)), platform_(platform) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("Statistics - %1").arg(latin1(kProgramTitle)));
    setWindowIcon(programIcon());

    periodBox_ = new QComboBox(this);
    periodBox_->setObjectName(QStringLiteral("PeriodBox"));
    periodBox_->addItem(QStringLiteral("Whole log"), int(StatisticsPeriod::All));
    periodBox_->addItem(QStringLiteral("Day"), int(StatisticsPeriod::Day));
    periodBox_->addItem(QStringLiteral("Week (ISO 8601)"), int(StatisticsPeriod::Week));
    periodBox_->addItem(QStringLiteral("Month"), int(StatisticsPeriod::Month));
    auto* periodLabel = new QLabel(QStringLiteral("&Period:"), this);
    periodLabel->setBuddy(periodBox_);
    callsLabel_ = new QLabel(this);
    callsLabel_->setObjectName(QStringLiteral("CallsLabel"));

    model_ = new StatisticsModel(this);
    figuresGrid_ = new QTableView(this);
    figuresGrid_->setObjectName(QStringLiteral("FiguresGrid"));
    figuresGrid_->setModel(model_);
    figuresGrid_->verticalHeader()->hide();
    figuresGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    figuresGrid_->verticalHeader()->setDefaultSectionSize(20);
    figuresGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    figuresGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Widths are fitted to the figures after each grouping (fitColumns):
    // ResizeToContents would measure the cells of a thousand rows each time.
    figuresGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    copyButton_ = new QPushButton(QStringLiteral("&Copy"), this);
    copyButton_->setObjectName(QStringLiteral("CopyButton"));
    saveAsButton_ = new QPushButton(QStringLiteral("Save &As..."), this);
    saveAsButton_->setObjectName(QStringLiteral("SaveAsButton"));
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));

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
    resize(1000, 300);

    connect(periodBox_, &QComboBox::currentIndexChanged, this, &StatisticsWindow::regroup);
    connect(copyButton_, &QPushButton::clicked, this, &StatisticsWindow::copyFigures);
    connect(saveAsButton_, &QPushButton::clicked, this, &StatisticsWindow::saveFigures);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    onShownCallsChanged(calls_, this, [this] { refresh(); });
    refresh();
}

StatisticsPeriod StatisticsWindow::period() const {
    return static_cast<StatisticsPeriod>(periodBox_->currentData().toInt());
}

void StatisticsWindow::refresh() {
    runCommand(platform_, [this] {
        rows_ = calls_.rows();
        callsLabel_->setText(QStringLiteral("%1 calls").arg(rows_.size()));
    });
    regroup();
}

void StatisticsWindow::regroup() {
    runCommand(platform_, [this] {
        model_->setRows(statisticsOf(*calls_.table, rows_, period()));
        fitColumns();
    });
}

void StatisticsWindow::fitColumns() {
    // The figures are digits, signs and colons: in the fonts of the desktop
    // their digits are all equally wide, so the longest text is the widest.
    const QFontMetrics metrics(figuresGrid_->font());
    const int margin = 2 * (figuresGrid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    QHeaderView* header = figuresGrid_->horizontalHeader();
    for (int c = 0; c < kStatisticsColumnCount; ++c) {
        const auto column = static_cast<std::size_t>(c);
        std::string_view longest;
        for (const StatisticsRow& row : model_->rows()) {
            if (row[column].size() > longest.size()) longest = row[column];
        }
        const int cells = metrics.horizontalAdvance(QString::fromLatin1(
                              longest.data(), static_cast<qsizetype>(longest.size()))) +
                          margin;
        header->resizeSection(c, std::max(header->sectionSizeHint(c), cells));
    }
}

void StatisticsWindow::copyFigures() {
    const std::string text = statisticsText(model_->rows(), StatisticsLayout::TabSeparated, true);
    QApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void StatisticsWindow::saveFigures() {
    runCommand(platform_,
               [this] { commands::saveStatistics(model_->rows(), platform_, saveDialog_); });
}

}  // namespace kestal
