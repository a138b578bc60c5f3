// The Statistics window's Save As: the figures as tab- or comma-separated
// text, the layout chosen by the file name as in Save Table As.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Messages.h"
#include "output/CallStatistics.h"
#include "platform/Platform.h"

namespace kestal {

inline constexpr std::string_view kSaveStatisticsFilter =
    QT_TRANSLATE_NOOP("kestal::Messages", "Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv");
inline constexpr std::string_view kNoStatisticsLayoutWarning = QT_TRANSLATE_NOOP(
    "kestal::Messages", "The statistics were not saved: the file name must contain .tsv or .csv.");

namespace commands {

// Asks for a file and whether to write the header names, then writes the
// figures. A file that can't be written throws, for the general error
// report.
void saveStatistics(const std::vector<StatisticsRow>& rows, Platform& platform, FileDialog& dialog);
// The same for figures of any kind: text gives them in a layout, the
// header line first when asked for, every line ended by CR LF.
void saveStatistics(const std::function<std::string(StatisticsLayout, bool header)>& text,
                    Platform& platform, FileDialog& dialog);

}  // namespace commands
}  // namespace kestal
