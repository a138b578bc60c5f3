// File > Save Table As: the call table in the layout the file name asks
// for, with or without the header names.
#pragma once

#include "log/CallTable.h"
#include "platform/Platform.h"

namespace kestal::commands {

void saveTableAs(const CallTable& table, Platform& platform, FileDialog& saveDialog);

}  // namespace kestal::commands
