// Helpers for the robustness tests: sample calls with known cells, and a
// snapshot of a folder that shows any file changed, added or removed.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace kestal::testing {

// FNV-1a, 64 bits: enough to tell whether a file's content changed.
inline std::uint64_t contentHash(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

inline std::string fileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// What lies in a folder, recursively: for each entry its kind, and for
// files their size and content hash, for links their target. Never opens
// anything but plain files, so a FIFO can't block it.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder);
         it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        const std::string name = fs::relative(path, folder).string();
        const fs::file_status status = fs::symlink_status(path);
        std::string what;
        switch (status.type()) {
            case fs::file_type::regular: {
                const std::string bytes = fileContent(path);
                what = "file " + std::to_string(bytes.size()) + " " +
                       std::to_string(contentHash(bytes));
                break;
            }
            case fs::file_type::symlink:
                what = "link " + fs::read_symlink(path).string();
                break;
            case fs::file_type::directory:
                what = "folder";
                break;
            case fs::file_type::fifo:
                what = "fifo";
                break;
            default:
                what = "other";
                break;
        }
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) what += " mode " + std::to_string(info.st_mode);
        entries[name] = what;
    }
    return entries;
}

// A log line: the date and time of day, " - " and the text.
inline std::string logLine(std::string_view dateTime, std::string_view text) {
    return std::string(dateTime) + " - " + std::string(text);
}

// A counter line: the label padded to 48 characters, the value right-aligned
// in 10 more, so that positions 49 to 58 hold the value.
inline std::string counterLine(std::string_view dateTime, std::string_view label,
                               std::string_view value) {
    std::string line = logLine(dateTime, label);
    line.resize(48, ' ');
    line += std::string(10 - std::min<std::size_t>(value.size(), 10), ' ');
    return line + std::string(value);
}

// Lines joined with the given line end after each.
inline std::string joinLines(std::initializer_list<std::string> lines,
                             std::string_view end = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text += line + std::string(end);
    return text;
}

// The first sample call and the cells its row must show.
inline std::string firstCall() {
    return joinLines({
        logLine("12-01-2026 09:12:04.30", "Remote access driver log opened."),
        logLine("12-01-2026 09:12:05.60", "LCP : Layer up"),
        logLine("12-01-2026 09:12:06.40", "CHAP : Layer up"),
        logLine("12-01-2026 09:12:07.10", "IPCP : Negotiated IP address of c0a80101"),
        logLine("12-01-2026 09:12:07.20", "IPCP : Layer up"),
        logLine("12-01-2026 09:12:07.50", "CCP : Layer finished"),
        counterLine("12-01-2026 09:22:41.10", "Bytes Received", "182344"),
        counterLine("12-01-2026 09:22:41.10", "CRC Errors", "3"),
        logLine("12-01-2026 09:22:41.20", "Remote access driver log closed."),
    });
}
inline const char* const kFirstCallRow[18] = {"12-01-2026 09:12:04",
                                              "12-01-2026 09:22:41",
                                              "00:10:37",
                                              "1.6",
                                              "2.4",
                                              "3.2",
                                              "3.5",
                                              "    182344",
                                              "",
                                              "",
                                              "",
                                              "         3",
                                              "",
                                              "",
                                              "",
                                              "",
                                              "",
                                              ""};

inline std::string secondCall() {
    return joinLines({
        logLine("12-02-2026 13:59:04.80", "Remote access driver log opened."),
        logLine("12-02-2026 13:59:04.90", "LCP : Layer up"),
        logLine("12-02-2026 14:09:41.20", "Remote access driver log closed."),
    });
}
inline constexpr std::string_view kSecondCallStart = "12-02-2026 13:59:04";

inline std::string twoCalls() { return firstCall() + secondCall(); }

// text with every CR LF replaced by end.
inline std::string withLineEnds(std::string_view text, std::string_view end) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += end;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace kestal::testing
