#include "platform/FileFilters.h"

namespace kestal {

namespace {

std::vector<std::string_view> splitBars(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        parts.push_back(text.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) return parts;
        start = bar + 1;
    }
}

}  // namespace

std::vector<FilterEntry> parseFilter(std::string_view filter) {
    std::vector<FilterEntry> entries;
    if (filter.empty()) return entries;
    const std::vector<std::string_view> parts = splitBars(filter);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back(FilterEntry{std::string(parts[i]), std::string(parts[i + 1])});
    return entries;
}

std::vector<std::string> qtNameFilters(std::string_view filter) {
    std::vector<std::string> filters;
    for (const FilterEntry& entry : parseFilter(filter)) {
        // Windows lists several patterns with ";", Qt with blanks.
        std::string patterns = entry.pattern;
        for (char& c : patterns)
            if (c == ';') c = ' ';
        filters.push_back(entry.label + " (" + patterns + ")");
    }
    return filters;
}

}  // namespace kestal
