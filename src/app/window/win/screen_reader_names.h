#pragma once
#include "app/window/win/app_frame.h"

namespace tessafold {

// Gives screen readers what the platform cannot derive from the window: an
// edit's name from the label created just before it (the platform looks for
// it in the stacking, which the layout reverses), a control's own name and
// description from its layout record. The control answers MSAA's request for
// its object with the platform's own object, those texts put in.
void NameForScreenReaders(const LoadedWindow& window);

}  // namespace tessafold
