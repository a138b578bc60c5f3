// What a shell command writes to its standard output, for tests that check
// a file with a tool (pdftotext, pdfinfo, journalctl).
#pragma once

#include <cstdio>
#include <string>

namespace kestal::testing {

// Its standard output, whatever it ends with; nothing when it can't start.
inline std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

}  // namespace kestal::testing
