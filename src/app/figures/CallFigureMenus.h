// Call > Statistics..., Call > Trends... and View > Outages...: the menu
// items and the one window of each, over the calls the grid shows.
#pragma once

#include <QString>
#include <functional>

#include "app/figures/ShownCalls.h"
#include "platform/Platform.h"

class QMenu;
class QWidget;

namespace kestal {

// Adds the items to the end of callMenu. Each window is made the first time
// its item is chosen, a child of owner, over the calls shownCalls gives; its
// size and place are kept among the settings of settingsKind, the kind of
// log shown.
void addCallFigureItems(QMenu& callMenu, QWidget& owner, Platform& platform,
                        const std::function<ShownCalls()>& shownCalls, const QString& settingsKind);

// Adds View > Outages... to the end of viewMenu, enabled while a pppd log
// is shown; its window is made as those above.
void addOutagesItem(QMenu& viewMenu, QWidget& owner, Platform& platform,
                    const std::function<ShownCalls()>& shownCalls, const QString& settingsKind);

}  // namespace kestal
