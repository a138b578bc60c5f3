// Call > Statistics... and Call > Trends...: the menu items and the one
// window of each, over the calls the grid shows.
#pragma once

#include "platform/Platform.h"

namespace kestal {

class MainWindow;

// Adds the items to the Call menu, after Show Call Details.
void addCallFigureItems(MainWindow& window, Platform& platform);

// What the windows cover: the rows the grid shows and the way back to it.
struct ShownCalls;
ShownCalls shownCallsOf(MainWindow& window, Platform& platform);

}  // namespace kestal
