#include "ToolMessages.h"

#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace kestal::tool {

namespace {

// The bar on the screen, wiped before any message.
ProgressBar* shownBar = nullptr;

}  // namespace

// Nothing is left to tell the user when the terminal itself fails.
void writeErr(std::string_view text) { writeAll(STDERR_FILENO, text); }

void writeOut(std::string_view text) { writeAll(STDOUT_FILENO, text); }

void report(std::string_view subject, std::string_view message) {
    if (shownBar != nullptr) shownBar->finish();
    std::string line(kProgramName);
    line += ": ";
    if (!subject.empty()) {
        line += subject;
        line += ": ";
    }
    line += message;
    line += '\n';
    writeErr(line);
}

std::string logName(const std::string& path) {
    return path == kStandardStream ? std::string("standard input") : path;
}

ProgressBar::ProgressBar(std::string_view path) : name_(path.substr(path.rfind('/') + 1)) {}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(std::uint64_t done, std::uint64_t size) {
    if (size < done) size = done;
    const int percent = size == 0 ? 100 : static_cast<int>(done * 100 / size);
    if (percent == shown_) return;
    shown_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::string line = "\rLoading " + name_ + " [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kWidth - filled), ' ');
    line += "] " + std::to_string(percent) + "%";
    width_ = line.size() - 1;
    shownBar = this;
    writeErr(line);
}

void ProgressBar::finish() {
    if (shownBar == this) shownBar = nullptr;
    if (width_ == 0) return;
    writeErr("\r" + std::string(width_, ' ') + "\r");
    width_ = 0;
    shown_ = -1;
}

}  // namespace kestal::tool
