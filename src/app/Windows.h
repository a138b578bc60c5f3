// The program's three windows, one instance each, reachable by name from
// every handler once created (like the form variables of the design the
// program follows), and the look they share.
#pragma once

#include <QFont>
#include <QIcon>

namespace kestal {

class TfrmKestal;
class TAboutBox;
class TFrmCall;

// Set by each window's constructor, cleared by its destructor.
extern TfrmKestal* frmKestal;
extern TAboutBox* AboutBox;
extern TFrmCall* FrmCall;

inline constexpr const char* kProgramTitle = "Kestal File Viewer";

// "System", 13 pixels high: the windows' own font. Fontconfig picks the
// nearest installed face.
QFont systemFont();
// A font of 8 points at 96 pixels per inch, which is 11 pixels high.
QFont font8pt(const char* family, bool bold = false);

// The 32 x 32, 16-colour program icon.
QIcon programIcon();
QPixmap programIconPixmap();

}  // namespace kestal
