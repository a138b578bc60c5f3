// File dialog filters: the program's "label|pattern|label|pattern" lists
// turned into the name filters Qt's file dialog takes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestal {

struct FilterEntry {
    std::string label;    // "Text & Tabs (*.tsv)"
    std::string pattern;  // "*.tsv"
};

// The label and pattern pairs; a trailing label without a pattern is dropped.
std::vector<FilterEntry> parseFilter(std::string_view filter);

// One Qt name filter per pair: the label as given, then the patterns in
// parentheses, separated by blanks ("Text (*.txt) (*.txt)"). Qt reads the
// patterns from the last parentheses, and the dialog (with
// HideNameFilterDetails) shows what stands before them: the label.
std::vector<std::string> qtNameFilters(std::string_view filter);

}  // namespace kestal
