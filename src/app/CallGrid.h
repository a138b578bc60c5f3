// The call grid ("Grid1"): a table view that behaves like the string grid the
// program was designed around. One fixed title row (the horizontal header),
// whole-row single selection, no editing, no grid lines between call cells,
// no tooltips; a right click selects the row under the pointer and opens
// the context menu, and a double click anywhere (title row included) is
// reported as one event.
#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace kestal {

// Title cells drawn like fixed grid cells: a raised face with a 1-pixel
// line around it and the title at the cell's left edge.
class TitleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TitleHeader(QWidget* parent);
    std::function<void()> onDoubleClick;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintSortArrow(QPainter* painter, const QRect& face, Qt::SortOrder order) const;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};

// Call cells: text from the cell's left edge, clipped (never elided), in
// the highlight colours for the selected row.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

class CallGrid : public QTableView {
    Q_OBJECT
public:
    explicit CallGrid(QWidget* parent = nullptr);

    // The owner's handlers. onKeyDown returns true when it took the key.
    std::function<bool(QKeyEvent*)> onKeyDown;
    std::function<void()> onDoubleClick;
    std::function<void(const QPoint& globalPos)> onContextMenu;

    // Typing doesn't jump to a row that starts with the typed text: the
    // grid moves by row, page and end keys only.
    void keyboardSearch(const QString&) override {}

    // Exactly one whole row stays selected: Ctrl on the selected row (a
    // click, Space) would otherwise take it out of the selection.
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;

    static constexpr int kRowHeight = 16;
    static constexpr int kTitleHeight = kRowHeight + 1;  // and its line

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void doubleClicked();
    void selectRowAt(const QPoint& viewportPos);
};

}  // namespace kestal
