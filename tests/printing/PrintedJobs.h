// Reading printed jobs back: the CUPS queue that keeps every job as a PDF,
// and the text of those PDFs as pdftotext gives it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPrinterInfo>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "commands/Print.h"
#include "details/CallDetails.h"
#include "lines/LogLines.h"
#include "output/Printouts.h"
#include "platform/Errors.h"
#include "platform/qt/QtTextPrinter.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

extern char** environ;

namespace kestal::testing {

namespace fs = std::filesystem;

inline constexpr std::string_view kCaptureScheme = "kestal-capture:";
inline constexpr auto kJobTimeout = std::chrono::seconds(60);

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// What a shell command writes to its standard output; nothing when it fails.
inline std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    if (::pclose(pipe) != 0) return std::nullopt;
    return output;
}

// Runs of blanks as one blank, none at either end: how a printout in a
// proportional font reads back.
inline std::string collapsedBlanks(std::string_view line) {
    std::string result;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!result.empty() && result.back() != ' ') result += ' ';
        } else {
            result += c;
        }
    }
    if (!result.empty() && result.back() == ' ') result.pop_back();
    return result;
}

inline std::vector<std::string> collapsedBlanks(const std::vector<std::string>& lines) {
    std::vector<std::string> result;
    for (const auto& line : lines) result.push_back(collapsedBlanks(line));
    return result;
}

// Latin-1 bytes as the UTF-8 that pdftotext writes.
inline std::string utf8FromLatin1(std::string_view text) {
    std::string result;
    for (unsigned char c : text) {
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else {
            result += static_cast<char>(0xC0 | (c >> 6));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}

inline std::vector<std::string> utf8FromLatin1(const std::vector<std::string>& lines) {
    std::vector<std::string> result;
    for (const auto& line : lines) result.push_back(utf8FromLatin1(line));
    return result;
}

// Ligatures that a proportional font draws, as their letters.
inline std::string withoutLigatures(std::string text) {
    static const std::pair<std::string_view, std::string_view> ligatures[] = {
        {"\xEF\xAC\x80", "ff"},
        {"\xEF\xAC\x81", "fi"},
        {"\xEF\xAC\x82", "fl"},
        {"\xEF\xAC\x83", "ffi"},
        {"\xEF\xAC\x84", "ffl"}};
    for (const auto& [ligature, letters] : ligatures)
        for (std::size_t at; (at = text.find(ligature)) != std::string::npos;)
            text.replace(at, ligature.size(), letters);
    return text;
}

using Page = std::vector<std::string>;

// The pages of a PDF as text: trailing blanks and empty lines at the end of
// a page dropped, and the indent that all lines share (the printable area's
// margin) removed.
inline std::vector<Page> pdfText(const fs::path& pdf, const std::string& mode) {
    const auto text =
        commandOutput("pdftotext " + mode + " -enc UTF-8 " + shellQuoted(pdf.string()) + " -");
    if (!text) throw std::runtime_error("pdftotext could not read " + pdf.string());
    std::vector<Page> pages;
    std::string pageText;
    std::istringstream in(withoutLigatures(*text));
    while (std::getline(in, pageText, '\f')) {
        Page lines = testing::linesOf(pageText);
        for (auto& line : lines) line.erase(line.find_last_not_of(' ') + 1);
        while (!lines.empty() && lines.back().empty()) lines.pop_back();
        pages.push_back(lines);
    }
    // pdftotext ends the last page with a form feed too.
    while (!pages.empty() && pages.back().empty()) pages.pop_back();
    std::size_t indent = std::string::npos;
    for (const auto& page : pages)
        for (const auto& line : page)
            if (!line.empty()) indent = std::min(indent, line.find_first_not_of(' '));
    for (auto& page : pages)
        for (auto& line : page) line.erase(0, std::min(indent, line.size()));
    return pages;
}

// Courier New's stand-in (Liberation Mono) at 8 point: 0.6 em a character.
constexpr const char* kFixedPitchReading = "-fixed 4.8";

// A printed job read back.
struct PrintedJob {
    // Read as fixed-pitch text: exact, blanks included, for a printout in
    // Courier New.
    std::vector<Page> fixedPitch;
    // Read by pdftotext's layout rules: right for any font up to the width
    // of blanks.
    std::vector<Page> layout;
    std::string fonts;  // pdffonts' listing
    std::string title;  // the print job's title

    static std::vector<std::string> textLines(const std::vector<Page>& pages) {
        std::vector<std::string> all;
        for (const auto& page : pages)
            for (const auto& line : page)
                if (!line.empty()) all.push_back(line);
        return all;
    }
};

inline PrintedJob readBack(const fs::path& pdf) {
    PrintedJob job;
    job.fixedPitch = pdfText(pdf, kFixedPitchReading);
    job.layout = pdfText(pdf, "-layout");
    job.fonts = commandOutput("pdffonts " + shellQuoted(pdf.string())).value_or("");
    return job;
}

// The default printer's capture folder, or why there is none.
struct Capture {
    std::optional<fs::path> folder;
    std::string whyNot;
};

inline Capture findCaptureQueue() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return {std::nullopt,
                "no CUPS default printer is configured (scripts/start-cups.sh sets one up)"};
    const std::string name = printer.printerName().toStdString();
    const auto listing = commandOutput("LC_ALL=C lpstat -v " + shellQuoted(name) + " 2>/dev/null");
    const std::size_t at = listing ? listing->find(kCaptureScheme) : std::string::npos;
    if (at == std::string::npos)
        return {std::nullopt,
                "the default printer \"" + name +
                    "\" is not the test queue of scripts/start-cups.sh; nothing is printed on it"};
    std::string folder = listing->substr(at + kCaptureScheme.size());
    folder.erase(folder.find_last_not_of(" \r\n") + 1);
    return {fs::path(folder), ""};
}

// Test programs running side by side take turns at the queue, so that each
// knows its own jobs.
class QueueLock {
public:
    explicit QueueLock(const fs::path& folder)
        : fd_(::open((folder / ".test-lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~QueueLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

inline std::set<fs::path> jobFiles(const fs::path& folder) {
    std::set<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("job-") && name.ends_with(".pdf")) files.insert(entry.path());
    }
    return files;
}

}  // namespace kestal::testing
