#include "app/CallGrid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kestal {

TitleHeader::TitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    // Clicking a title selects nothing; only its borders are handles.
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionsMovable(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFixedHeight(CallGrid::kTitleHeight);
    setMinimumSectionSize(1);
}

void TitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    painter->save();
    const QPalette& pal = palette();
    painter->fillRect(rect, pal.color(QPalette::Button));
    // The cell's own 3D edge inside the grid line on its right and bottom.
    const QRect face = rect.adjusted(0, 0, -1, -1);
    painter->setPen(pal.color(QPalette::Light));
    painter->drawLine(face.topLeft(), face.topRight());
    painter->drawLine(face.topLeft(), face.bottomLeft());
    painter->setPen(pal.color(QPalette::Dark));
    painter->drawLine(face.bottomLeft(), face.bottomRight());
    painter->drawLine(face.topRight(), face.bottomRight());
    // The grid line around the title cells: black on a light desktop, and
    // still to be seen on a dark one.
    painter->setPen(pal.color(QPalette::WindowText));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    painter->setClipRect(face);
    painter->setPen(pal.color(QPalette::ButtonText));
    const QString title =
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    painter->drawText(face.adjusted(2, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex)
        paintSortArrow(painter, face, sortIndicatorOrder());
    painter->restore();
}

void TitleHeader::paintSortArrow(QPainter* painter, const QRect& face, Qt::SortOrder order) const {
    // A small solid triangle at the right end of the title cell: point up
    // for rising values, down for falling ones.
    const int right = face.right() - 3;
    const int middle = face.center().y();
    const QPolygon up(
        {QPoint(right - 6, middle + 2), QPoint(right, middle + 2), QPoint(right - 3, middle - 2)});
    const QPolygon down(
        {QPoint(right - 6, middle - 2), QPoint(right, middle - 2), QPoint(right - 3, middle + 2)});
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(palette().color(QPalette::ButtonText));
    painter->setPen(Qt::NoPen);
    painter->drawPolygon(order == Qt::AscendingOrder ? up : down);
}

void TitleHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click on the title row acts on the selected call row; the
    // view's own "fit the column to its contents" on a border is not wanted.
    if (event->button() == Qt::LeftButton && onDoubleClick) {
        event->accept();
        onDoubleClick();
        return;
    }
    QHeaderView::mouseDoubleClickEvent(event);
}

bool TitleHeader::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis) return true;
    return QHeaderView::viewportEvent(event);
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    // The selected row keeps its colours whether or not the grid has focus.
    painter->fillRect(option.rect,
                      pal.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base));
    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(
        pal.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

CallGrid::CallGrid(QWidget* parent) : QTableView(parent) {
    auto* header = new TitleHeader(this);
    header->onDoubleClick = [this] { doubleClicked(); };
    setHorizontalHeader(header);
    setItemDelegate(new CellDelegate(this));

    QHeaderView* rows = verticalHeader();
    rows->hide();
    // The style's minimum would otherwise keep rows taller than 16 pixels.
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(kRowHeight);

    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void CallGrid::doubleClicked() {
    if (onDoubleClick) onDoubleClick();
}

QItemSelectionModel::SelectionFlags CallGrid::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void CallGrid::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown && onKeyDown(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CallGrid::mousePressEvent(QMouseEvent* event) {
    // A right click selects the row under the pointer, as everywhere on the
    // desktop, so that the context menu acts on it; off the rows it leaves
    // the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        selectRowAt(event->position().toPoint());
        return;
    }
    QTableView::mousePressEvent(event);
}

void CallGrid::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::RightButton) && !(event->buttons() & Qt::LeftButton)) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void CallGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void CallGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The first click of the pair has already selected the row under the
    // mouse; the double click acts on whatever row is selected now.
    event->accept();
    doubleClicked();
}

void CallGrid::selectRowAt(const QPoint& viewportPos) {
    const QModelIndex pointed = indexAt(viewportPos);
    if (!pointed.isValid() || selectionModel() == nullptr) return;
    const QModelIndex current = currentIndex();
    const QModelIndex target =
        model()->index(pointed.row(), current.isValid() ? current.column() : pointed.column());
    selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CallGrid::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    // A desktop that sends the menu without a press first (a pen, a touch):
    // the row under the pointer all the same. The menu key acts on the row
    // selected.
    if (event->reason() == QContextMenuEvent::Mouse) selectRowAt(event->pos());
    if (onContextMenu) onContextMenu(event->globalPos());
}

bool CallGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis) return true;
    return QTableView::viewportEvent(event);
}

}  // namespace kestal
