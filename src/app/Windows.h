// The program's three windows, one instance each, reachable by name from
// every handler once created (like the form variables of the design the
// program follows), and the look they share.
#pragma once

#include <QFont>
#include <QIcon>

#include "commands/Messages.h"

namespace kestal {

class MainWindow;
class AboutBox;
class CallDetailsWindow;

// Set by each window's constructor, cleared by its destructor.
extern MainWindow* mainWindow;
extern AboutBox* aboutBox;
extern CallDetailsWindow* callDetailsWindow;

// "System", 13 pixels high: the windows' own font. Fontconfig picks the
// nearest installed face.
QFont systemFont();
// A font of 8 points at 96 pixels per inch, which is 11 pixels high.
QFont font8pt(const char* family, bool bold = false);

// The 32 x 32, 16-colour program icon.
QIcon programIcon();
QPixmap programIconPixmap();

}  // namespace kestal
