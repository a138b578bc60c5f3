// The seam between the program's commands and the user's desktop: dialogs
// and message boxes, the error report, file dialogs, the busy cursor, the
// event pump, regional settings and the clock, the printer, the clipboard,
// the beep, closing the main window, and where the system log is looked
// for. Files are reached through FileSystem.h instead. The application uses
// the Qt implementation (QtPlatform); tests, benchmarks and fuzzers use a
// scripted double (FakePlatform).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/RegionalSettings.h"

namespace kestal {

class TextPrinter;

// The caption and icon of a message dialog follow from its type.
enum class DialogType { Warning, Error, Information, Confirmation };

// "&Yes" + "&No" (Yes is the default, Esc answers No), or "OK" alone.
enum class DialogButtons { YesNo, Ok };

// What the user pressed. Closing the dialog any other way gives No (for a
// Yes/No question) or Ok (for an OK dialog).
enum class DialogResult { Yes, No, Ok };

std::string_view dialogCaption(DialogType type);

// A file open or save dialog component, with the properties that persist on
// it between uses (the chosen file name is remembered, for instance).
struct FileDialog {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    // Pairs of label and pattern separated by "|":
    // "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv".
    std::string filter;
    std::string defaultExt = "txt";
    std::string initialDir;
    // In: the name the dialog opens with. Out: the chosen full path.
    std::string fileName;
    bool overwritePrompt = false;  // save: ask before replacing a file
    bool hideReadOnly = false;
    // Open: several files may be chosen. Out: every chosen path (fileName
    // holds the first).
    bool multiple = false;
    std::vector<std::string> fileNames;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Modal message dialog, centred on the screen.
    virtual DialogResult messageDlg(std::string_view text, DialogType type,
                                    DialogButtons buttons) = 0;

    // Modal plain message box: no icon, one "OK" button, captioned with the
    // program's title.
    virtual void showMessage(std::string_view text) = 0;

    // The general error report: the text (already ending in a full stop where
    // the rule asks for one) in a box captioned with the program's title,
    // with the stop icon and one "OK" button.
    virtual void showErrorReport(std::string_view text) = 0;

    // Shows a modal file dialog. On OK stores the chosen full path in
    // dialog.fileName and returns true; on cancel returns false and leaves
    // the dialog as it was.
    virtual bool executeFileDialog(FileDialog& dialog) = 0;

    // Whole-screen hourglass cursor on or off.
    virtual void setBusyCursor(bool busy) = 0;

    // Processes all pending window events, then returns.
    virtual void processMessages() = 0;

    virtual RegionalSettings regionalSettings() = 0;
    // The time of day in the user's long time format ("15:05:09",
    // "3:05:09 PM" ...).
    virtual std::string longTimeText(const DateTime& time) = 0;
    virtual DateTime now() = 0;

    // The program's printer used as a text device; one object for the
    // whole run.
    virtual TextPrinter& printer() = 0;

    // Closes the main window, which ends the program.
    virtual void closeMainWindow() = 0;

    // Puts text (the program's single-byte text) on the clipboard.
    virtual void setClipboardText(std::string_view text) = 0;

    // The desktop's warning sound.
    virtual void beep() = 0;

    // The Windows directory, the folder the system log is looked for in
    // (see WindowsDirectory.h); nothing when there is none. Asked of the
    // platform, so that a test can name a folder of its own.
    virtual std::optional<std::string> windowsDirectory() = 0;
};

}  // namespace kestal
