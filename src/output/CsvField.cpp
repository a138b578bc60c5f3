#include "output/CsvField.h"

namespace kestal {

bool needsCsvQuotes(std::string_view cell) {
    return cell.find_first_of(",\"\r\n") != std::string_view::npos;
}

void appendCsvField(std::string& line, std::string_view cell) {
    if (!needsCsvQuotes(cell)) {
        line.append(cell);
        return;
    }
    line.push_back('"');
    for (const char c : cell) {
        if (c == '"') line.push_back('"');
        line.push_back(c);
    }
    line.push_back('"');
}

std::string csvField(std::string_view cell) {
    std::string field;
    appendCsvField(field, cell);
    return field;
}

}  // namespace kestal
