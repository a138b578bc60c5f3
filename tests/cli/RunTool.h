// Runs the built kestal-calls executable as a child process and collects
// what it wrote and how it ended.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestal::testing {

struct ToolRun {
    int exitCode = -1;  // -1 when it didn't exit normally
    std::string out;    // standard output (empty when it went elsewhere)
    std::string err;    // standard error
};

struct ToolSetup {
    // The child's whole environment; the C locale unless a test says otherwise.
    std::vector<std::string> environment{"LC_ALL=C"};
    // Standard output to this file instead of being collected.
    std::optional<std::string> stdoutPath;
    // Standard error on a pseudo-terminal, to look like an interactive run.
    bool stderrOnTerminal = false;
    // Standard input from this file instead of /dev/null.
    std::optional<std::string> stdinPath;
    // The child's working folder; the test's own when not given.
    std::optional<std::string> workingDirectory;
};

ToolRun runTool(const std::vector<std::string>& args, const ToolSetup& setup = {});

}  // namespace kestal::testing
