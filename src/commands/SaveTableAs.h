// File > Save Table As: the call table in the layout the file name asks
// for, with or without the header names.
#pragma once

#include <span>

#include "platform/Platform.h"
#include "table/CallTable.h"

namespace kestal::commands {

void saveTableAs(const CallTable& table, Platform& platform, FileDialog& saveDialog);

// The same command for the given table rows in the given order (File > Save
// Shown Calls As): the same dialog, question and choice of layout.
void saveRowsAs(const CallTable& table, std::span<const int> rows, Platform& platform,
                FileDialog& saveDialog);

}  // namespace kestal::commands
