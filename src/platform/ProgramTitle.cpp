#include "platform/ProgramTitle.h"

#include <cctype>

namespace kestal {

std::string programTitle(std::string_view executable) {
    if (const auto slash = executable.find_last_of('/'); slash != std::string_view::npos)
        executable.remove_prefix(slash + 1);
    std::string title(executable.substr(0, executable.find('.')));
    // ASCII letters only: the name's other bytes are kept as stored.
    for (std::size_t i = 1; i < title.size(); ++i) {
        const auto byte = static_cast<unsigned char>(title[i]);
        if (byte < 128) title[i] = static_cast<char>(std::tolower(byte));
    }
    return title;
}

}  // namespace kestal
