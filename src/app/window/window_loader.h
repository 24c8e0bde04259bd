#pragma once

namespace tessafold {

// Creates the window of that id with its controls from its layout, raises its
// start-up events and shows it. Returns without waiting for it to close.
void LoadWindow(int windowId);

}  // namespace tessafold
