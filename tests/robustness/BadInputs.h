// The bad inputs that File > Open must survive: one row each, with what the
// user is to be told and what the table is to show.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/LogState.h"
#include "commands/Messages.h"
#include "platform/Platform.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal::testing {

inline const std::string kQuestion(kAttemptLoadQuestion);
inline const std::string kNotListed(kSomeCallsNotListed);
inline const std::string kInUse(kLogInUse);
inline const std::string kCorrupt(kCorruptLogWarning);

inline constexpr DialogResult Yes = DialogResult::Yes;
inline constexpr DialogResult No = DialogResult::No;

struct Cell {
    int column;
    int row;
    std::string text;
};

struct BadInput {
    const char* name = "";
    // Puts the input into dir and returns the path to open.
    std::function<std::string(const TempDir& dir)> make{};
    std::vector<DialogResult> answers{};  // to the corruption question
    std::vector<std::string> dialogs{};   // every dialog text, in order
    int calls = 0;
    std::vector<Cell> cells{};
    // Run before the load: hooks that act while it runs.
    std::function<void(FakePlatform&, const std::string& path)> arm{};
    // Further checks after the load.
    std::function<void(const LogState&, const RecordingView&, const FakePlatform&)> check{};
    bool logChangesMeanwhile = false;  // the row itself appends to the log
};

std::vector<BadInput> badInputs();

// The details lines of the call starting at start.
std::vector<std::string> details(const LogLines& lines, std::string_view start);

}  // namespace kestal::testing
