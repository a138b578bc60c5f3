// The Save dialog every command that writes a file asks with: it asks
// before replacing a file, hides the read-only check and opens without a
// file name.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace kestal {

// Makes dialog a Save dialog of these file types, defaultExt added to a
// name typed without one; the folder it opens in stays as it was.
inline void setUpSaveDialog(FileDialog& dialog, std::string_view filter,
                            std::string_view defaultExt) {
    dialog.kind = FileDialog::Kind::Save;
    dialog.fileName.clear();
    dialog.filter = std::string(filter);
    dialog.defaultExt = std::string(defaultExt);
    dialog.overwritePrompt = true;
    dialog.hideReadOnly = true;
}

}  // namespace kestal
