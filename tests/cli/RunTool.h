// Runs the built kestal-calls executable as a child process and collects
// what it wrote and how it ended.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempDir.h"

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
    // A program (its full path first) that runs kestal-calls, e.g. as
    // another user.
    std::vector<std::string> runAs;
};

ToolRun runTool(const std::vector<std::string>& args, const ToolSetup& setup = {});

// The bundled sample log.
inline const std::string kSamplePath =
    std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt";
inline constexpr std::string_view kUsageStart = "Usage: kestal-calls ";
inline std::string sampleBytes() { return readBytes(kSamplePath); }

// The first n lines of text, each with its CR LF.
inline std::string firstLines(const std::string& text, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = text.find("\r\n", at) + 2;
    return text.substr(0, at);
}

// Standard output to the file at path.
inline ToolSetup stdoutTo(const std::string& path) {
    ToolSetup setup;
    setup.stdoutPath = path;
    return setup;
}

// Standard error on a terminal, standard output thrown away.
inline ToolSetup stderrOnTerminal() {
    ToolSetup setup = stdoutTo("/dev/null");
    setup.stderrOnTerminal = true;
    return setup;
}

}  // namespace kestal::testing
