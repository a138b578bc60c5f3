// Small builders for log text and a text dump of the call table, shared by
// the log tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calls/DialUpColumns.h"
#include "lines/LogLines.h"
#include "table/CallTable.h"

namespace kestal::testing {

// "12-01-2026 hh:mm:ss.ff - message", the shape of every log line.
inline std::string logLine(std::string_view time, std::string_view message,
                           std::string_view date = "12-01-2026") {
    return std::string(date) + " " + std::string(time) + " - " + std::string(message);
}

// A counter line whose value ends at position 58, as the system writes them.
inline std::string counterLine(std::string_view time, std::string_view name,
                               std::string_view value) {
    std::string line = logLine(time, name);
    line.append(58 - line.size() - value.size(), ' ');
    return line + std::string(value);
}

// Every line followed by CR LF.
inline std::string crlfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

inline std::vector<std::string> linesOf(const LogLines& lines) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < lines.size(); ++i) result.emplace_back(lines[i]);
    return result;
}

// A line of the column titles, then one text line per table row, cells
// separated by "|".
inline std::string dumpTable(const CallTable& table) {
    std::string text;
    for (int column = 0; column < kColumnCount; ++column) {
        if (column > 0) text += '|';
        text += table.columns()[static_cast<std::size_t>(column)].title;
    }
    text += '\n';
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (column > 0) text += '|';
            text += table.cell(columnAt(column), row);
        }
        text += '\n';
    }
    return text;
}

// Every cell of a table of any kind, one row a line.
inline std::string cellsText(const CallTable& table) {
    std::string text;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column)
            text += std::string(table.cell(column, row)) + '|';
        text += '\n';
    }
    return text;
}

// One text line per call row: the span of its lines, "first-end".
inline std::string dumpLines(const CallTable& table) {
    std::string text;
    for (int row = 0; row < table.rowCount(); ++row) {
        const LineSpan lines = table.lines(row);
        text += std::to_string(lines.first) + '-' + std::to_string(lines.end) + '\n';
    }
    return text;
}

// One text line per call row: each cell's value ("-" for none, "d" before a
// Time of a day only) and the row's marks, separated by "|".
inline std::string dumpValues(const CallTable& table) {
    std::string text;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            const CellValue value = table.value(column, row);
            if (value.state() == CellValue::State::None) {
                text += '-';
            } else {
                if (value.state() == CellValue::State::DayOnly) text += 'd';
                text += std::to_string(value.bits());
            }
            text += '|';
        }
        text += std::to_string(table.marks(row)) + '\n';
    }
    return text;
}

}  // namespace kestal::testing
