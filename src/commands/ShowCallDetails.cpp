#include "commands/ShowCallDetails.h"

#include <string_view>

#include "commands/BusyCursor.h"
#include "details/CallDetails.h"

namespace kestal::commands {

void showCallDetails(const LogState& state, Platform& platform,
                     const std::function<void(std::vector<std::string> lines)>& show) {
    BusyCursor busy(platform);
    const int row = state.table.currentRow();
    const std::string_view startTime = row >= 0 && row < state.table.rowCount()
                                           ? state.table.cell(Column::StartTime, row)
                                           : std::string_view();
    std::vector<std::string> lines =
        gatherCallDetails(state.lines, startTime, [&platform](std::string_view warning) {
            platform.messageDlg(warning, DialogType::Warning, DialogButtons::Ok);
        });
    show(std::move(lines));
}

}  // namespace kestal::commands
