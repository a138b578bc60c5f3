// Failures that end a command, and the texts the general error report shows
// for them.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestal {

class Platform;

// A failure that ends the command in which it happens. what() is the text
// of the general error report, before the full-stop rule.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// File input/output failure codes, as the reports name them.
namespace iocode {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int InvalidNumericInput = 106;
}  // namespace iocode

// "File not found", "Disk full", ... or "I/O error %d".
std::string ioErrorText(int code);

// Maps a Linux errno onto the file input/output code. creating: the error
// came from creating a file (a missing folder is then "Invalid filename").
int ioCodeFromErrno(int err, bool creating);

CommandError ioError(int code);
CommandError cannotOpenFile(std::string_view path);
CommandError cannotCreateFile(std::string_view path);
CommandError streamWriteError();
CommandError noDefaultPrinter();

// The full-stop rule: a "." is appended when the text's last character comes
// after "." in character code order.
std::string withFullStop(std::string_view text);

// Runs one command. A failure it doesn't catch itself ends it there; the
// general error report then shows the failure's text, and the program goes on.
// No exception leaves this function.
void runCommand(Platform& platform, const std::function<void()>& command);

}  // namespace kestal
