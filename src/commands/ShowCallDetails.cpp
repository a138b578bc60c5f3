#include "commands/ShowCallDetails.h"

#include <string_view>

#include "commands/BusyCursor.h"
#include "details/CallDetails.h"

namespace kestal::commands {

void showCallDetails(const LogState& state, Platform& platform,
                     const std::function<void(std::vector<std::string> lines)>& show) {
    BusyCursor busy(platform);
    const int row = state.table.currentRow();
    if (state.pppd) {
        // A pppd row's lines are its process's and the chat lines among
        // them, as logged.
        std::vector<std::string> lines;
        if (row >= 0 && static_cast<std::size_t>(row) < state.pppd->rowLines.size()) {
            for (const std::uint64_t line : state.pppd->rowLines[static_cast<std::size_t>(row)])
                if (line < state.lines.size()) lines.emplace_back(state.lines[line]);
        }
        show(std::move(lines));
        return;
    }
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
