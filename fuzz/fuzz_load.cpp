// The whole load through a real file: any bytes, with the corruption
// question answered either way, give the lines that reading rules give (of
// the bytes, or of the bytes without NULs after a repair), a question
// exactly when the sizes differ, a table that agrees with the lines, a log
// that is left byte for byte as it was, and no temporary file behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "calls/CallScan.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"

using namespace kestal;
using kestal::fuzz::check;
using kestal::fuzz::contains;
using kestal::testing::DialogRecord;
using kestal::testing::FakePlatform;
using kestal::testing::RecordingView;

namespace {

// One scratch folder for the whole run, removed at exit.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestal-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::filesystem::path& scratch() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool sameLines(const LogLines& a, const LogLines& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// A dial-up log as loaded: the question and warnings its NUL bytes call
// for, its lines as read, and a call for each line that opens one.
void checkDialUpLoad(const LogState& state, const FakePlatform& platform, const std::string& bytes,
                     bool answerYes) {
    // The dialogs shown, and apart from them the error reports.
    std::vector<std::string> dialogs;
    std::vector<std::string> reports;
    for (const DialogRecord& dialog : platform.dialogs)
        (dialog.kind == DialogRecord::Kind::ErrorReport ? reports : dialogs).push_back(dialog.text);

    const LogLines asRead = LogLines::fromBytes(bytes);
    // A NUL byte anywhere ends the text before the file's end: only then the question.
    const bool asked = bytes.find('\0') != std::string::npos;
    std::size_t next = 0;
    if (asked) {
        check(!dialogs.empty() && dialogs[0] == kAttemptLoadQuestion, "no question");
        next = 1;
        if (answerYes) {
            check(reports.empty(), "the repair failed", reports.empty() ? "" : reports[0]);
            check(sameLines(state.lines, LogLines::fromBytes(withoutNulBytes(bytes))),
                  "repaired lines", bytes);
        } else {
            check(dialogs.size() > 1 && dialogs[1] == kSomeCallsNotListed, "no warning after No");
            next = 2;
            check(sameLines(state.lines, asRead), "lines after No", bytes);
        }
    } else {
        check(sameLines(state.lines, asRead), "lines", bytes);
        check(reports.empty(), "error report");
    }
    for (std::size_t i = next; i < dialogs.size(); ++i) {
        check(dialogs[i] == kCorruptLogWarning, "unexpected dialog", dialogs[i]);
    }

    // The table agrees with the lines shown.
    std::vector<std::string_view> openers;
    for (std::size_t i = 0; i < state.lines.size(); ++i) {
        if (contains(state.lines[i], "log opened")) openers.push_back(state.lines[i].substr(0, 19));
    }
    check(state.table.callCount() == static_cast<int>(openers.size()), "calls differ from openers");
    for (int row = 0; row < state.table.callCount(); ++row) {
        check(state.table.cell(Column::StartTime, row) == openers[static_cast<std::size_t>(row)],
              "Start Time");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    FakePlatform platform;
    const bool answerYes = input.byte() & 1;
    platform.unansweredQuestion = answerYes ? DialogResult::Yes : DialogResult::No;
    const std::string bytes(input.rest());

    const std::string path = (scratch() / "ppplog.txt").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) std::abort();
    }

    RecordingView view;
    LogState state;
    state.logPath = path;
    commands::loadLog(state, platform, view);
    if (state.kind == LogKind::Pppd) {
        // A system log with pppd in it (the test fixtures hold some): its
        // sessions are the pppd reader's, which fuzz_pppd checks; here each
        // row has its lines and nothing is asked.
        check(state.pppd.has_value() &&
                  state.pppd->rowLines.size() == static_cast<std::size_t>(state.table.callCount()),
              "pppd rows without their lines");
    } else {
        checkDialUpLoad(state, platform, bytes, answerYes);
    }

    // Nothing changed on disk, and the window is back to normal.
    check(readAll(path) == bytes, "the log changed", bytes);
    check(!std::filesystem::exists(scratch() / "ppplog.tmp"), "ppplog.tmp left behind");
    check(!platform.busy() && !view.gaugeVisible && !view.inputBlocked && view.gridVisible &&
              view.shownRowCount == state.table.rowCount(),
          "window not restored");
    for (const int progress : view.gaugeProgress)
        check(progress >= 0 && progress <= 100, "gauge out of range");
    return 0;
}
