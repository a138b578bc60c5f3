// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestal::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of name inside the folder.
    std::string file(std::string_view name) const;
    // Writes bytes to name (exactly these bytes) and returns its full path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file; throws when it can't be read.
std::string readBytes(const std::string& path);

// Text cut into lines by the program's own rules (CR, LF or CR LF ends a
// line), for comparing golden text and tool output line by line.
std::vector<std::string> linesOf(std::string text);

}  // namespace kestal::testing
