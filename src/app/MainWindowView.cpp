#include "app/MainWindowView.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QWidget>

#include "app/CallGrid.h"
#include "app/CallTableModel.h"
#include "app/CallViewControls.h"
#include "app/ProgressGauge.h"
#include "commands/CallCountText.h"
#include "platform/qt/Latin1.h"
#include "platform/qt/TranslatedText.h"

namespace kestal {

void MainWindowView::setGridVisible(bool visible) {
    // Hiding the grid takes the focus from it for good: showing it again
    // doesn't give it back, the user clicks into the grid first.
    if (!visible && widgets_.window->focusWidget() == widgets_.grid) widgets_.grid->clearFocus();
    widgets_.grid->setVisible(visible);
}

void MainWindowView::showTable(const CallTable& table) {
    // Another kind of log: its own columns, sort, filter checks and menus.
    const bool otherColumns = widgets_.shown->columnsChanging();
    widgets_.model->setTable(table);
    if (otherColumns) {
        widgets_.shown->columnsChanged();
        for (QAction* item : widgets_.dialUpOnly) item->setEnabled(!isPppdTable(table));
    }
    // The reset forgot the view's selection; the table still knows its
    // current row (row 0 after an Open's reset, also when the load fails).
    selectTableRow(table.currentRow());
}

void MainWindowView::selectFirstRow() { selectTableRow(0); }

void MainWindowView::selectTableRow(int row) {
    if (row < 0 || row >= state_.table.rowCount()) return;
    state_.table.setCurrentRow(row);
    widgets_.shown->selectTableRow(row);
}

void MainWindowView::setStatusText(std::string_view text) {
    widgets_.shown->setLoadStatus(translatedText(text));
}

void MainWindowView::setGaugeVisible(bool visible) { widgets_.gauge->setVisible(visible); }

void MainWindowView::setGaugeProgress(int progress) { widgets_.gauge->setProgress(progress); }

void MainWindowView::setCaption(std::string_view caption) {
    // The caption holds a path: the system's bytes, shown as the system
    // names them.
    widgets_.window->setWindowTitle(
        QFile::decodeName(QByteArray(caption.data(), static_cast<qsizetype>(caption.size()))));
}

void MainWindowView::setClearEnabled(bool enabled) { widgets_.clearAction->setEnabled(enabled); }

void MainWindowView::setInputBlocked(bool blocked) { inputBlocked_ = blocked; }

}  // namespace kestal
