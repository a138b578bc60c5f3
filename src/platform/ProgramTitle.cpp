#include "platform/ProgramTitle.h"

#include "platform/AsciiCase.h"

namespace kestal {

std::string programTitle(std::string_view executable) {
    if (const auto slash = executable.find_last_of('/'); slash != std::string_view::npos)
        executable.remove_prefix(slash + 1);
    std::string title(executable.substr(0, executable.find('.')));
    // ASCII letters only: the name's other bytes are kept as stored.
    for (std::size_t i = 1; i < title.size(); ++i) {
        title[i] = toLowerAscii(title[i]);
    }
    return title;
}

}  // namespace kestal
