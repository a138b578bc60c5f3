#include "platform/Errors.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "platform/Platform.h"

namespace kestal {

std::string ioErrorText(int code) {
    switch (code) {
        case iocode::FileNotFound:
            return "File not found";
        case iocode::InvalidFilename:
            return "Invalid filename";
        case iocode::TooManyOpenFiles:
            return "Too many open files";
        case iocode::AccessDenied:
            return "File access denied";
        case iocode::ReadBeyondEnd:
            return "Read beyond end of file";
        case iocode::DiskFull:
            return "Disk full";
        case iocode::InvalidNumericInput:
            return "Invalid numeric input";
        default:
            break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "I/O error %d", code);
    return text;
}

namespace {

// The Windows code for a general device failure. EIO must not come out as
// its own number: 5 already means "File access denied".
constexpr int kDeviceFailure = 31;

}  // namespace

int ioCodeFromErrno(int err, bool creating) {
    switch (err) {
        case ENOENT:
            return creating ? iocode::InvalidFilename : iocode::FileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
            return iocode::InvalidFilename;
        case EMFILE:
        case ENFILE:
            return iocode::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return iocode::AccessDenied;
        case ENOSPC:
        case EDQUOT:
            return iocode::DiskFull;
        case EIO:
            return kDeviceFailure;
        default:
            return err;
    }
}

CommandError ioError(int code) { return CommandError(ioErrorText(code)); }

CommandError cannotOpenFile(std::string_view path) {
    return CommandError("Cannot open file " + std::string(path));
}

CommandError cannotCreateFile(std::string_view path) {
    return CommandError("Cannot create file " + std::string(path));
}

CommandError streamWriteError() { return CommandError("Stream write error"); }

CommandError noDefaultPrinter() {
    return CommandError("There is no default printer currently selected");
}

std::string withFullStop(std::string_view text) {
    std::string result(text);
    // Compared as unsigned bytes: accented letters (above 127) also come
    // after ".".
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        result += '.';
    return result;
}

namespace {

inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline constexpr std::string_view kUnknownFailure = "Unknown error";

// Shows the general error report. Reporting must not throw either: a failure
// while reporting (no memory for the text, say) is dropped.
void report(Platform& platform, std::string_view text) noexcept {
    try {
        platform.showErrorReport(withFullStop(text));
    } catch (...) {
    }
}

}  // namespace

void runCommand(Platform& platform, const std::function<void()>& command) {
    try {
        command();
    } catch (const CommandError& e) {
        report(platform, e.what());
    } catch (const std::bad_alloc&) {
        report(platform, kOutOfMemory);
    } catch (const std::exception& e) {
        report(platform, e.what());
    } catch (...) {
        report(platform, kUnknownFailure);
    }
}

}  // namespace kestal
