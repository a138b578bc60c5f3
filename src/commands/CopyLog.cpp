#include "commands/CopyLog.h"

#include <string>

#include "commands/Messages.h"
#include "output/Printouts.h"

namespace kestal::commands {

void copyLog(const LogLines& lines, Platform& platform, FileDialog& saveDialog) {
    saveDialog.fileName.clear();
    saveDialog.filter = std::string(kCopyFilter);
    if (!platform.executeFileDialog(saveDialog)) return;
    writeCopyFile(lines, saveDialog.fileName);
}

}  // namespace kestal::commands
