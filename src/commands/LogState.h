// What every command works on: the log being shown, its lines and its call
// table.
#pragma once

#include <string>

#include "bytes/ReadMark.h"
#include "calls/DialUpColumns.h"
#include "lines/LogLines.h"
#include "table/CallTable.h"

namespace kestal {

struct LogState {
    std::string logPath;
    LogLines lines;
    CallTable table{kDialUpColumns};
    ReadMark readMark;  // where the lines came from
};

}  // namespace kestal
