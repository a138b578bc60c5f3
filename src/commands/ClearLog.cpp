// File > Clear: the question, the Windows directory, and the marker line.
#include "commands/ClearLog.h"

#include "commands/Messages.h"
#include "commands/SystemLog.h"
#include "output/MarkerLine.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace kestal::commands {

namespace {

// Creates path for writing, emptying it. False when it can't be created.
bool createLog(TextFileWriter& log, const std::string& path) {
    try {
        log.create(path);
    } catch (const CommandError&) {
        return false;
    }
    return true;
}

}  // namespace

void clearLog(LogState& state, Platform& platform) {
    platform.beep();
    if (platform.messageDlg(kClearQuestion, DialogType::Warning, DialogButtons::YesNo) !=
        DialogResult::Yes)
        return;

    std::string directory;
    if (!windowsDirectory(platform, directory)) {
        platform.showMessage(kNoWindowsDirectory);
        platform.closeMainWindow();
        return;
    }
    state.logPath = directory + std::string(kLogFileSuffix);

    // A big log just loaded may still be held under the program's own read
    // lease while its bytes are copied (see LogLines::settle), and the log
    // can't be opened to write before that is done.
    state.lines.settle();
    // A log the system holds open, or one that is read-only, can't be
    // cleared now; the user may try again later, so nothing is said.
    TextFileWriter log;
    if (!createLog(log, state.logPath)) return;

    try {
        const DateTime now = platform.now();
        log.writeLine(
            markerLine(now, platform.longTimeText(now), platform.regionalSettings().timeSeparator));
        log.close();
    } catch (const CommandError&) {
        // The program ends all the same; the log holds what was written.
    }
    platform.closeMainWindow();
}

}  // namespace kestal::commands
