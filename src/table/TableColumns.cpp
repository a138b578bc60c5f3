#include "table/TableColumns.h"

#include "platform/AsciiCase.h"

namespace kestal {

int columnOfHeader(TableColumns columns, std::string_view name) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (equalsIgnoringAsciiCase(name, columns[column].header)) return static_cast<int>(column);
    }
    return -1;
}

}  // namespace kestal
