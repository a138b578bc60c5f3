#include "app/CallViewControls.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>

#include "app/CallGrid.h"
#include "calls/DialUpColumns.h"
#include "commands/CallCountText.h"
#include "commands/CopyCalls.h"
#include "commands/SaveTableAs.h"
#include "platform/qt/TranslatedText.h"

namespace kestal {

namespace {

QDate startDateOf(const CallTable& table, int row) {
    if (row < 0 || row >= table.rowCount()) return {};
    const std::optional<std::int64_t> day = table.value(kStartTimeColumn, row).day();
    if (!day) return {};
    return QDate(1970, 1, 1).addDays(*day);
}

}  // namespace

CallViewControls::CallViewControls(const Parts& parts, QWidget* barParent)
    : QObject(barParent), parts_(parts), columns_(parts.table.columns()) {
    proxy_ = new ShownCallsProxy(parts_.table, this);
    proxy_->setSourceModel(parts_.model);
    parts_.grid->setModel(proxy_);

    // A click on a title sorts by that column, the next one the other way
    // round, the third one back to log order; the borders stay handles.
    QHeaderView* titles = parts_.grid->horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setSortIndicatorClearable(true);
    titles->setSortIndicator(-1, Qt::AscendingOrder);
    titles->setSortIndicatorShown(true);
    connect(titles, &QHeaderView::sortIndicatorChanged, this,
            &CallViewControls::sortIndicatorChanged);

    filterBar_ = new FilterBar(barParent);
    filterBar_->hide();
    connect(filterBar_, &FilterBar::filterChanged, this, &CallViewControls::applyFilter);

    connect(proxy_, &QAbstractItemModel::layoutChanged, this, &CallViewControls::keepACallSelected);
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, &CallViewControls::showStatus);
    connect(proxy_, &QAbstractItemModel::modelReset, this, &CallViewControls::showStatus);
}

void CallViewControls::addMenus(MenuPlace file, QMenu* edit, QMenu* view, QMenu* popup) {
    auto item = [this](MenuPlace place, const char* name, const char* caption,
                       void (CallViewControls::*handler)()) {
        auto* action = new QAction(tr(caption), place.menu);
        place.menu->insertAction(place.before, action);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { parts_.runCommand([this, handler] { (this->*handler)(); }); });
        return action;
    };
    item({edit}, "CopyCall1", QT_TR_NOOP("&Copy Call"), &CallViewControls::copyCall)
        ->setShortcut(QKeySequence::Copy);
    item({edit}, "CopyShownCalls1", QT_TR_NOOP("Copy &Shown Calls"),
         &CallViewControls::copyShownCalls);

    // "Fil&ter": F stands for Follow in this menu.
    filterAction_ = view->addAction(tr("Fil&ter"));
    filterAction_->setObjectName(QStringLiteral("Filter1"));
    filterAction_->setCheckable(true);
    filterAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(filterAction_, &QAction::toggled, this,
            [this](bool shown) { parts_.runCommand([this, shown] { showFilterBar(shown); }); });
    item({view}, "LogOrder1", QT_TR_NOOP("&Log Order"), &CallViewControls::showLogOrder);
    for (QMenu* menu : {edit, view}) menu->menuAction()->setVisible(true);

    item(file, "SaveShownCallsAs1", QT_TR_NOOP("Save &Shown Calls As..."),
         &CallViewControls::saveShownCallsAs);

    item({popup}, "CopyCall2", QT_TR_NOOP("&Copy Call"), &CallViewControls::copyCall);

    QHeaderView* titles = parts_.grid->horizontalHeader();
    titles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(titles, &QHeaderView::customContextMenuRequested, this,
            &CallViewControls::chooseColumns);
}

void CallViewControls::chooseColumns(const QPoint& at) {
    // One check per column; the last one shown stays.
    QHeaderView* titles = parts_.grid->horizontalHeader();
    if (!columnsMenu_) {
        columnsMenu_ = new QMenu(parts_.grid);
        columnsMenu_->setObjectName(QStringLiteral("ColumnsMenu"));
    }
    columnsMenu_->clear();
    const int columns = parts_.table.columnCount();
    const int shown = columns - titles->hiddenSectionCount();
    for (int column = 0; column < columns; ++column) {
        // The grid's own title, in the user's language.
        QAction* check = columnsMenu_->addAction(
            parts_.grid->model()->headerData(column, Qt::Horizontal).toString().trimmed());
        check->setCheckable(true);
        check->setChecked(!titles->isSectionHidden(column));
        check->setEnabled(titles->isSectionHidden(column) || shown > 1);
        connect(check, &QAction::toggled, this,
                [this, column](bool on) { parts_.grid->setColumnHidden(column, !on); });
    }
    columnsMenu_->popup(titles->mapToGlobal(at));
}

int CallViewControls::placeFilterBar(int width) {
    if (filterBar_->isHidden()) return 0;
    const int height = filterBar_->sizeHint().height();
    filterBar_->setGeometry(0, 0, width, height);
    return height;
}

int CallViewControls::selectedRow() const {
    const QModelIndex current = parts_.grid->currentIndex();
    return current.isValid() ? proxy_->tableRow(current.row()) : -1;
}

void CallViewControls::selectTableRow(int row) {
    int viewRow = proxy_->viewRow(row);
    if (viewRow < 0) viewRow = proxy_->rowCount() > 0 ? 0 : -1;
    if (viewRow < 0) return;
    const QModelIndex index = proxy_->index(viewRow, 0);
    parts_.grid->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    parts_.grid->scrollTo(index);
}

void CallViewControls::setLoadStatus(const QString& text) {
    loadStatus_ = text;
    showStatus();
}

bool CallViewControls::columnsChanging() {
    if (parts_.table.columns().data() == columns_.data()) return false;
    columns_ = parts_.table.columns();
    proxy_->forgetOrderAndFilter();
    return true;
}

void CallViewControls::columnsChanged() {
    QHeaderView* titles = parts_.grid->horizontalHeader();
    const QSignalBlocker quiet(titles);
    titles->setSortIndicator(-1, Qt::AscendingOrder);
    for (int column = 0; column < parts_.table.columnCount(); ++column)
        parts_.grid->setColumnWidth(column, columns_[static_cast<std::size_t>(column)].width);
    filterBar_->showPppdChecks(isPppdTable(parts_.table));
    applyFilter();
}

void CallViewControls::showStatus() {
    QString text = loadStatus_;
    if (proxy_->hidesCalls() && isPppdTable(parts_.table))
        text = translatedText(pppdShownCountText(pppdCounts(parts_.table, proxy_->shownRows()),
                                                 pppdCounts(parts_.table)));
    else if (proxy_->hidesCalls())
        text = tr("%1 of %2 Calls").arg(proxy_->rowCount()).arg(parts_.table.callCount());
    if (parts_.statusLabel->text() == text) return;
    parts_.statusLabel->setText(text);
    parts_.statusLabel->adjustSize();
}

void CallViewControls::copyCall() {
    if (const int row = selectedRow(); row >= 0)
        commands::copyCall(parts_.table, row, parts_.platform);
}

void CallViewControls::copyShownCalls() {
    commands::copyShownCalls(parts_.table, proxy_->shownRows(), parts_.platform);
}

void CallViewControls::saveShownCallsAs() {
    commands::saveRowsAs(parts_.table, proxy_->shownRows(), parts_.platform, parts_.saveDialog);
}

void CallViewControls::showFilterBar(bool shown) {
    if (filterAction_ && filterAction_->isChecked() != shown) filterAction_->setChecked(shown);
    if (!filterBar_->isHidden() == shown) return;
    if (shown) {
        filterBar_->suggestDates(startDateOf(parts_.table, 0),
                                 startDateOf(parts_.table, parts_.table.rowCount() - 1));
    }
    filterBar_->setVisible(shown);
    emit layoutNeeded();
    // A hidden bar filters nothing; its settings come back with it.
    applyFilter();
    if (shown)
        filterBar_->focusFirstCheck();
    else
        parts_.grid->setFocus();
}

void CallViewControls::showLogOrder() {
    parts_.grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void CallViewControls::sortIndicatorChanged(int column, Qt::SortOrder order) {
    if (column < 0 || column >= parts_.table.columnCount()) {
        proxy_->setSortOrder(std::nullopt);
        return;
    }
    proxy_->setSortOrder(SortOrder{column, order == Qt::AscendingOrder
                                               ? SortDirection::Ascending
                                               : SortDirection::Descending});
}

void CallViewControls::applyFilter() {
    proxy_->setFilter(filterBar_->isHidden() ? CallFilter{} : filterBar_->filter());
}

void CallViewControls::keepACallSelected() {
    // The selected call moved with the change; when the filter hid it, the
    // first shown call takes its place.
    const QModelIndex current = parts_.grid->currentIndex();
    if (current.isValid()) {
        parts_.grid->scrollTo(current);
        return;
    }
    selectTableRow(-1);
}

}  // namespace kestal
