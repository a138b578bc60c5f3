#include "platform/Platform.h"

namespace kestal {

std::string_view dialogCaption(DialogType type) {
    switch (type) {
        case DialogType::Warning:
            return "Warning";
        case DialogType::Error:
            return "Error";
        case DialogType::Information:
            return "Information";
        case DialogType::Confirmation:
            return "Confirm";
    }
    return "";
}

}  // namespace kestal
