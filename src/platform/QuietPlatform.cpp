#include "platform/QuietPlatform.h"

#include <algorithm>

namespace kestal {

int QuietPlatform::count(std::string_view text) const {
    return static_cast<int>(std::count(unshown_.begin(), unshown_.end(), text));
}

DialogResult QuietPlatform::messageDlg(std::string_view text, DialogType type,
                                       DialogButtons buttons) {
    unshown_.emplace_back(text);
    if (type == DialogType::Error) failed_ = true;
    return buttons == DialogButtons::YesNo ? DialogResult::No : DialogResult::Ok;
}

void QuietPlatform::showMessage(std::string_view text) { unshown_.emplace_back(text); }

void QuietPlatform::showErrorReport(std::string_view text) {
    unshown_.emplace_back(text);
    failed_ = true;
}

}  // namespace kestal
