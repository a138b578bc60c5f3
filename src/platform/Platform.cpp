#include "platform/Platform.h"

// Marks a text for the translators' catalogue; the windows look it up.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace kestal {

std::string_view dialogCaption(DialogType type) {
    switch (type) {
        case DialogType::Warning:
            return QT_TRANSLATE_NOOP("kestal::Messages", "Warning");
        case DialogType::Error:
            return QT_TRANSLATE_NOOP("kestal::Messages", "Error");
        case DialogType::Information:
            return QT_TRANSLATE_NOOP("kestal::Messages", "Information");
        case DialogType::Confirmation:
            return QT_TRANSLATE_NOOP("kestal::Messages", "Confirm");
    }
    return "";
}

}  // namespace kestal
