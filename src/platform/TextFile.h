// Single-byte text files written the program's way: every line ends with
// carriage return and line feed, and failures become CommandErrors in one of
// two wordings.
#pragma once

#include <string>
#include <string_view>

namespace kestal {

inline constexpr std::string_view kLineEnd = "\r\n";

class TextFileWriter {
public:
    // How failures are worded: InOut names the system error ("File access
    // denied", "Disk full"); Stream says "Cannot create file %s" and
    // "Stream write error".
    enum class Errors { InOut, Stream };

    explicit TextFileWriter(Errors errors = Errors::InOut);
    ~TextFileWriter();  // closes without reporting
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Creates path, replacing any file of that name. Throws CommandError.
    void create(const std::string& path);
    // Writes to a descriptor that is already open, standard output for
    // instance; name stands for it in nothing but this object. close()
    // closes the descriptor too.
    void attach(int fd, const std::string& name);
    void write(std::string_view text);
    // text followed by kLineEnd.
    void writeLine(std::string_view text);
    // Flushes and closes; throws CommandError when the data can't be written.
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    void flush();
    [[noreturn]] void failWrite(int err);

    Errors errors_;
    int fd_ = -1;
    std::string path_;
    std::string buffer_;
};

}  // namespace kestal
