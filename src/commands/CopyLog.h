// File > Copy...: the shown log's lines to a file the user names.
#pragma once

#include "lines/LogLines.h"
#include "platform/Platform.h"

namespace kestal::commands {

void copyLog(const LogLines& lines, Platform& platform, FileDialog& saveDialog);

}  // namespace kestal::commands
