// What every command works on: the log being shown, its lines and its call
// table.
#pragma once

#include <string>

#include "log/CallTable.h"
#include "log/LogLines.h"
#include "log/ReadMark.h"

namespace kestal {

struct LogState {
    std::string logPath;
    LogLines lines;
    CallTable table;
    ReadMark readMark;  // where the lines came from
};

}  // namespace kestal
