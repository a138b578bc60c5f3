// One field of comma-separated text (RFC 4180). Every comma-separated file
// the program writes goes through here, so that a cell holding a decimal
// comma or odd text from a log line stays one field in a spreadsheet.
#pragma once

#include <string>
#include <string_view>

namespace kestal {

// Whether cell holds a comma, a double quote, a CR or an LF.
bool needsCsvQuotes(std::string_view cell);

// Appends cell to line as one field: as it stands, or, when it needs quotes,
// in double quotes with each of its double quotes doubled.
void appendCsvField(std::string& line, std::string_view cell);

// The same, as a text of its own.
std::string csvField(std::string_view cell);

}  // namespace kestal
