#include "app/figures/OutagesWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/look/WindowLook.h"
#include "commands/CallCountText.h"
#include "commands/Messages.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

enum OutageColumn { kStart, kEnd, kLength, kCause, kFailedAttempts };

QString textOf(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void OutagesModel::setOutages(std::vector<Outage> outages, std::vector<OutageRow> cells) {
    beginResetModel();
    outages_ = std::move(outages);
    cells_ = std::move(cells);
    endResetModel();
}

int OutagesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(outages_.size());
}

int OutagesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kOutageColumnCount;
}

QVariant OutagesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return column == kLength || column == kFailedAttempts
                   ? int(Qt::AlignRight | Qt::AlignVCenter)
                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role == Qt::DisplayRole) return textOf(cells_[row][static_cast<std::size_t>(column)]);
    if (role != Qt::UserRole) return {};
    const Outage& outage = outages_[row];
    constexpr qlonglong kOpen = std::numeric_limits<qlonglong>::max();
    switch (column) {
        case kStart:
            return qlonglong(outage.start);
        case kEnd:
            return outage.end ? qlonglong(*outage.end) : kOpen;
        case kLength:
            return outage.length() ? qlonglong(*outage.length()) : kOpen;
        case kCause:
            return textOf(cells_[row][kCause]);
        default:
            return outage.failedAttempts;
    }
}

QVariant OutagesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    // The title in the user's language; copies keep English.
    return QCoreApplication::translate(
        "kestal::Statistics",
        std::string(kOutageHeaders[static_cast<std::size_t>(section)]).c_str());
}

OutagesWindow::OutagesWindow(ShownCalls calls, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), calls_(std::move(calls)), platform_(platform) {
    setObjectName(QStringLiteral("OutagesWindow"));
    setWindowTitle(tr("Outages - %1").arg(latin1(kProgramTitle)));
    setWindowIcon(programIcon());

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("OutagesLabel"));
    countLabel_->setAccessibleName(tr("Outages found"));

    model_ = new OutagesModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    outagesTable_ = new QTableView(this);
    outagesTable_->setObjectName(QStringLiteral("OutagesTable"));
    outagesTable_->setAccessibleName(tr("Outages"));
    outagesTable_->setAccessibleDescription(tr("One row for each time the link was down"));
    outagesTable_->setModel(sorted_);
    outagesTable_->verticalHeader()->hide();
    outagesTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    outagesTable_->verticalHeader()->setDefaultSectionSize(20);
    outagesTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    outagesTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    outagesTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    outagesTable_->setSortingEnabled(true);
    // The longest first.
    outagesTable_->sortByColumn(kLength, Qt::DescendingOrder);
    // Each column as wide as its widest text can be, in the desktop's font.
    const QFontMetrics metrics(outagesTable_->font());
    const char* const widest[kOutageColumnCount] = {"00-00-0000 00:00:00", "00-00-0000 00:00:00",
                                                    "0000:00:00", "negotiation timeout",
                                                    "Failed Attempts"};
    int tableWidth = 0;
    for (int c = 0; c < kOutageColumnCount; ++c) {
        const QString header = model_->headerData(c, Qt::Horizontal).toString();
        const int width = std::max(metrics.horizontalAdvance(QString::fromLatin1(widest[c])),
                                   metrics.horizontalAdvance(header)) +
                          24;
        outagesTable_->setColumnWidth(c, width);
        tableWidth += width;
    }
    outagesTable_->horizontalHeader()->setStretchLastSection(true);

    copyButton_ = new QPushButton(tr("&Copy"), this);
    copyButton_->setObjectName(QStringLiteral("CopyButton"));
    copyButton_->setAccessibleName(tr("Copy"));
    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    closeButton_->setAccessibleName(tr("Close"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(countLabel_);
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outagesTable_);
    layout->addLayout(buttons);
    resize(tableWidth + 60, 380);

    connect(outagesTable_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { selectOpeningRow(index.row()); });
    connect(copyButton_, &QPushButton::clicked, this, &OutagesWindow::copyOutages);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    onShownCallsChanged(calls_, this, [this] { refresh(); });
    refresh();
}

void OutagesWindow::keyPressEvent(QKeyEvent* event) {
    // Esc closes the window, as it closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OutagesWindow::refresh() {
    runCommand(platform_, [this] {
        std::vector<Outage> outages;
        std::vector<OutageRow> cells;
        // A dial-up log has no sessions to drop.
        if (calls_.table && isPppdTable(*calls_.table)) {
            outages = outagesOf(*calls_.table);
            cells.reserve(outages.size());
            for (const Outage& outage : outages) cells.push_back(outageRow(*calls_.table, outage));
        }
        countLabel_->setText(tr("%1 outages").arg(outages.size()));
        model_->setOutages(std::move(outages), std::move(cells));
    });
}

void OutagesWindow::selectOpeningRow(int shownRow) {
    const QModelIndex index = sorted_->mapToSource(sorted_->index(shownRow, 0));
    if (!index.isValid() || !calls_.select) return;
    calls_.select(model_->outages()[static_cast<std::size_t>(index.row())].openedBy);
}

std::vector<Outage> OutagesWindow::shownOutages() const {
    std::vector<Outage> shown;
    for (int row = 0; row < sorted_->rowCount(); ++row) {
        const QModelIndex index = sorted_->mapToSource(sorted_->index(row, 0));
        shown.push_back(model_->outages()[static_cast<std::size_t>(index.row())]);
    }
    return shown;
}

void OutagesWindow::copyOutages() {
    if (!calls_.table || !isPppdTable(*calls_.table)) return;
    const std::string text =
        outagesText(*calls_.table, shownOutages(), StatisticsLayout::TabSeparated, true);
    QApplication::clipboard()->setText(textOf(text));
}

}  // namespace kestal
