// Where the program's windows stand on the screen: never larger than the
// screen leaves them, and where the user left them last time.
#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace kestal {

// The area a window may take: its screen without the desktop's panels
// (the primary screen's while it stands on none).
QRect availableArea(const QWidget& window);

// Shrinks a top-level window, frame included, to the available area of its
// screen and, when it was placed on purpose, moves it inside that area. A
// maximised or full-screen window is the window system's to fit. Every
// top-level window passes through here before it is first shown.
void fitOnScreen(QWidget& window);

// Puts back the size, place and state (maximised or not) that window had
// when it was last hidden, closed or left open at the end of the program,
// kept under key in the user's settings, and keeps them again each of
// those times. False when nothing was kept yet: the window keeps its own
// first size and place. Either way it is then fitted on screen.
bool rememberPlace(QWidget& window, const QString& key);

}  // namespace kestal
