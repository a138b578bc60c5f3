// Writing the call table as tab-separated, comma-separated or fixed-width
// text.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "output/TableLines.h"
#include "table/CallTable.h"

namespace kestal {

class TextFileWriter;

// The layout that a path's file name (the part after the last "/") asks
// for: ".tsv", ".csv", ".txt" tested in that order without regard to case,
// the last match deciding. Nothing when none matches.
std::optional<ExportLayout> layoutForPath(std::string_view path);

// Writes rows 0 to row count - 1, with the header line (and, fixed-width,
// the ruler) first when header is set. Cells are written as they stand,
// except that a comma-separated cell holding a comma, a double quote, a CR
// or an LF is quoted (output/CsvField.h).
void writeTable(TextFileWriter& out, const CallTable& table, ExportLayout layout, bool header);

// The same for the given table rows, in the order given.
void writeRows(TextFileWriter& out, const CallTable& table, std::span<const int> rows,
               ExportLayout layout, bool header);

// The whole export as text (for tests, small tables and the clipboard).
std::string exportTable(const CallTable& table, ExportLayout layout, bool header);
std::string exportRows(const CallTable& table, std::span<const int> rows, ExportLayout layout,
                       bool header);

}  // namespace kestal
