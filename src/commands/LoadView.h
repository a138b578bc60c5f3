// What loading the log needs of the main window: the grid, the status bar
// and the caption. The window implements it; tests use a recording double.
#pragma once

#include <string_view>

namespace kestal {

class CallTable;

class LoadView {
public:
    virtual ~LoadView() = default;
    // The grid is hidden while the scan adds rows and shown again after.
    virtual void setGridVisible(bool visible) = 0;
    // The grid shows table from now on, whatever it showed before; the
    // table's current row is selected again.
    virtual void showTable(const CallTable& table) = 0;
    // Row 0 selected, after the scan.
    virtual void selectFirstRow() = 0;
    virtual void setStatusText(std::string_view text) = 0;
    virtual void setGaugeVisible(bool visible) = 0;
    virtual void setGaugeProgress(int progress) = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual void setClearEnabled(bool enabled) = 0;
    // While a repair lets window events through, no command may start.
    virtual void setInputBlocked(bool blocked) = 0;
};

}  // namespace kestal
