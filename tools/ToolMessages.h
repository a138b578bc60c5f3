// How kestal-calls talks to its user: failures as values, messages on
// standard error, and a progress bar that stays out of their way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestal::tool {

inline constexpr std::string_view kProgramName = "kestal-calls";

// The operand that stands for standard input (LOGFILE) or output (OUTFILE).
inline constexpr std::string_view kStandardStream = "-";

// Arguments that make no sense together or can't be read.
struct UsageError {
    std::string message;
};

// A file that can't be read or written, with the reason.
struct FileError {
    std::string file;
    std::string reason;
};

void writeErr(std::string_view text);
void writeOut(std::string_view text);

// "kestal-calls: <subject>: <message>" on standard error.
void report(std::string_view subject, std::string_view message);

// How messages name the log.
std::string logName(const std::string& path);

// A bar on standard error that follows the reading of a big log. A message
// reported meanwhile wipes it first; it comes back at the next update.
class ProgressBar {
public:
    // Only the file's name, without its folders, so that the bar fits a
    // line.
    explicit ProgressBar(std::string_view path);
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar();

    void update(std::uint64_t done, std::uint64_t size);
    // Wipes the bar, so that later messages start on a clean line.
    void finish();

private:
    std::string name_;
    int shown_ = -1;
    std::size_t width_ = 0;
};

}  // namespace kestal::tool
