#include "commands/ReloadLog.h"

#include <cstdlib>

#include "commands/LoadLog.h"

namespace kestal::commands {

void reloadLog(LogState& state, Platform& platform, LoadView& view) {
    if (state.logPath.empty() && !state.journal) return;
    state.table.reset();
    state.pppd.reset();  // its rows are gone
    view.showTable(state.table);
    view.setStatusText("");
    loadLog(state, platform, view);
}

}  // namespace kestal::commands

namespace kestal {

int rowOfCall(const CallTable& table, std::string_view startText, int near) {
    if (startText.empty()) return -1;
    int found = -1;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.cell(Column::StartTime, row) != startText) continue;
        if (found < 0 || std::abs(row - near) < std::abs(found - near)) found = row;
        if (row >= near) break;  // later rows lie only farther away
    }
    return found;
}

}  // namespace kestal
