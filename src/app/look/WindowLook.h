// The look the program's windows share: their fonts and the program icon.
#pragma once

#include <QFont>
#include <QIcon>

namespace kestal {

// "System", 13 pixels high: the windows' own font. Fontconfig picks the
// nearest installed face.
QFont systemFont();
// A font of 8 points at 96 pixels per inch, which is 11 pixels high.
QFont font8pt(const char* family, bool bold = false);

// The 32 x 32, 16-colour program icon.
QIcon programIcon();
QPixmap programIconPixmap();

}  // namespace kestal
