// A main-window stand-in for the loading commands: remembers what it was told.
#pragma once

#include <string>
#include <vector>

#include "calls/DialUpColumns.h"
#include "commands/LoadView.h"
#include "table/CallTable.h"

namespace kestal::testing {

class RecordingView : public LoadView {
public:
    bool gridVisible = true;
    int tablesShown = 0;
    // The rows of the table last shown: a new view shows the empty table.
    int shownRowCount = 1;
    int firstRowSelections = 0;
    std::string statusText;
    bool gaugeVisible = false;
    std::vector<int> gaugeProgress;  // every value set
    std::string caption = "Kestal File Viewer";
    bool clearEnabled = true;
    bool inputBlocked = false;
    std::vector<bool> inputBlockChanges;

    void setGridVisible(bool visible) override { gridVisible = visible; }
    void showTable(const CallTable& table) override {
        ++tablesShown;
        shownRowCount = table.rowCount();
    }
    void selectFirstRow() override { ++firstRowSelections; }
    void setStatusText(std::string_view text) override { statusText = std::string(text); }
    void setGaugeVisible(bool visible) override { gaugeVisible = visible; }
    void setGaugeProgress(int progress) override { gaugeProgress.push_back(progress); }
    void setCaption(std::string_view text) override { caption = std::string(text); }
    void setClearEnabled(bool enabled) override { clearEnabled = enabled; }
    void setInputBlocked(bool blocked) override {
        inputBlocked = blocked;
        inputBlockChanges.push_back(blocked);
    }
};

}  // namespace kestal::testing
