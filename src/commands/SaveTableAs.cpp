#include "commands/SaveTableAs.h"

#include <optional>
#include <string>

#include "commands/Messages.h"
#include "output/TableExport.h"
#include "platform/TextFile.h"
#include "table/CallOrder.h"

namespace kestal::commands {

void saveTableAs(const CallTable& table, Platform& platform, FileDialog& saveDialog) {
    saveRowsAs(table, logOrder(table), platform, saveDialog);
}

void saveRowsAs(const CallTable& table, std::span<const int> rows, Platform& platform,
                FileDialog& saveDialog) {
    saveDialog.fileName.clear();
    saveDialog.filter = std::string(kSaveTableFilter);
    if (!platform.executeFileDialog(saveDialog)) return;

    const bool header = platform.messageDlg(kHeaderQuestion, DialogType::Information,
                                            DialogButtons::YesNo) == DialogResult::Yes;

    const std::string path = saveDialog.fileName;
    const std::optional<ExportLayout> layout = layoutForPath(path);
    if (!layout) {
        // Saying nothing here would leave the user believing the table saved.
        platform.messageDlg(kNoLayoutWarning, DialogType::Warning, DialogButtons::Ok);
        return;
    }

    TextFileWriter out(TextFileWriter::Errors::InOut);
    out.create(path);
    writeRows(out, table, rows, *layout, header);
    out.close();
}

}  // namespace kestal::commands
