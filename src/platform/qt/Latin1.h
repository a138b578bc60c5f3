// Log text (single-byte) as Qt draws it: Latin-1.
#pragma once

#include <QString>
#include <string_view>

namespace kestal {

inline QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kestal
