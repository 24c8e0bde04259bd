#pragma once
#include <windows.h>

#include "app/window/window_layout.h"

namespace tessafold {

// The window class of a loaded window: button-face background, arrow cursor.
// Its procedure raises the bound events of the window and its controls,
// colours the controls as their layout and the colour scheme say, follows the
// system's scheme and colours and the monitor's scale, keeps the focus across
// activations and takes the window out of the frame's table when it is gone.
const wchar_t* FormWindowClass();

}  // namespace tessafold
