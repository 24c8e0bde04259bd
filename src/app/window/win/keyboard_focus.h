#pragma once
#include "app/window/win/app_frame.h"

namespace tessafold {

// Puts the focus where it belongs when the window becomes active: back on the
// control that had it last, else on the first control of the Tab cycle.
void RestoreFocus(LoadedWindow& window);
// Moves the focus one step along the Tab cycle.
void MoveFocusByTab(LoadedWindow& window, bool backwards);

}  // namespace tessafold
