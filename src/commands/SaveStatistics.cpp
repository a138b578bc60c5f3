#include "commands/SaveStatistics.h"

#include <optional>

#include "commands/Messages.h"
#include "commands/SaveDialog.h"
#include "output/TableExport.h"
#include "platform/TextFile.h"

namespace kestal {

namespace commands {

void saveStatistics(const std::vector<StatisticsRow>& rows, Platform& platform,
                    FileDialog& dialog) {
    saveStatistics([&rows](StatisticsLayout layout,
                           bool header) { return statisticsText(rows, layout, header); },
                   platform, dialog);
}

void saveStatistics(const std::function<std::string(StatisticsLayout, bool header)>& text,
                    Platform& platform, FileDialog& dialog) {
    setUpSaveDialog(dialog, kSaveStatisticsFilter, "tsv");
    if (!platform.executeFileDialog(dialog)) return;

    const bool header = platform.messageDlg(kHeaderQuestion, DialogType::Information,
                                            DialogButtons::YesNo) == DialogResult::Yes;
    const std::optional<ExportLayout> layout = layoutForPath(dialog.fileName);
    if (!layout || *layout == ExportLayout::FixedWidth) {
        platform.messageDlg(kNoStatisticsLayoutWarning, DialogType::Warning, DialogButtons::Ok);
        return;
    }
    const StatisticsLayout statisticsLayout = *layout == ExportLayout::CommaSeparated
                                                  ? StatisticsLayout::CommaSeparated
                                                  : StatisticsLayout::TabSeparated;
    TextFileWriter out(TextFileWriter::Errors::InOut);
    out.create(dialog.fileName);
    out.write(text(statisticsLayout, header));
    out.close();
}

}  // namespace commands

}  // namespace kestal
