// The main window as loading sees it (LoadView): the grid and its model,
// the status label, the gauge, the caption and the Clear item. Kept apart
// from the window, so that the window calls the commands and the commands
// call this, never back into the window.
#pragma once

#include <vector>

#include "commands/LoadView.h"
#include "commands/LogState.h"

class QAction;
class QLabel;
class QWidget;

namespace kestal {

class CallGrid;
class CallTableModel;
class ProgressGauge;
class CallViewControls;

class MainWindowView : public LoadView {
public:
    explicit MainWindowView(LogState& state) : state_(state) {}

    // The widgets it acts on, once the window has made them.
    struct Widgets {
        QWidget* window = nullptr;
        CallGrid* grid = nullptr;
        CallTableModel* model = nullptr;
        QLabel* statusLabel = nullptr;
        ProgressGauge* gauge = nullptr;
        QAction* clearAction = nullptr;
        CallViewControls* shown = nullptr;  // the sort and filter between model and grid
        // Items for the dial-up log only (Statistics, Trends), greyed for others.
        std::vector<QAction*> dialUpOnly;
    };
    void setWidgets(const Widgets& widgets) { widgets_ = widgets; }

    bool inputBlocked() const { return inputBlocked_; }
    // Selects table row row in the grid and makes it current; rows
    // outside the table are ignored.
    void selectTableRow(int row);

    void setGridVisible(bool visible) override;
    void showTable(const CallTable& table) override;
    void selectFirstRow() override;
    void setStatusText(std::string_view text) override;
    void setGaugeVisible(bool visible) override;
    void setGaugeProgress(int progress) override;
    void setCaption(std::string_view caption) override;
    void setClearEnabled(bool enabled) override;
    void setInputBlocked(bool blocked) override;

private:
    LogState& state_;
    Widgets widgets_;
    bool inputBlocked_ = false;
};

}  // namespace kestal
