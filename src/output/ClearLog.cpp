#include "output/ClearLog.h"

#include <cstdio>

#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace kestal {

namespace {

constexpr std::string_view kClearedBy = " - PPPLOG.TXT cleared by KESTAL.EXE.";

// Creates path for writing, emptying it, with critical-error dialogs off
// for the moment of the open. False when it can't be created.
bool createLog(Platform& platform, TextFileWriter& log, const std::string& path) {
    const unsigned previousMode = platform.SetErrorMode(SEM_FAILCRITICALERRORS);
    bool created = true;
    try {
        log.create(path);
    } catch (const CommandError&) {
        created = false;
    }
    platform.SetErrorMode(previousMode);
    return created;
}

}  // namespace

std::string markerLine(const DateTime& now, std::string_view longTimeText, char timeSeparator) {
    // The date is always month first with "-", whatever the locale says.
    char date[40];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d ", now.month, now.day, now.year);
    std::string line = date;
    line += longTimeText;
    line += timeSeparator;
    line += "00";
    line += kClearedBy;
    return line;
}

void Clear1Click(LogState& state, Platform& platform) {
    platform.MessageBeep(1);
    if (platform.messageDlg(kClearQuestion, DialogType::Warning, DialogButtons::YesNo) !=
        DialogResult::Yes)
        return;

    std::string directory;
    if (!windowsDirectory(platform, directory)) {
        platform.showMessage(kNoWindowsDirectory);
        platform.closeMainWindow();
        return;
    }
    state.LogPath = directory + std::string(kLogFileSuffix);

    // A log the system holds open, or one that is read-only, can't be
    // cleared now; the user may try again later, so nothing is said.
    TextFileWriter log;
    if (!createLog(platform, log, state.LogPath)) return;

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

}  // namespace kestal
