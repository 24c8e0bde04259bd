#pragma once
// Drawing a loaded window at its display's scale: the layout's rectangles,
// the window, the font and the icons, at start and whenever the window moves
// to a monitor of another scale.
#include <windows.h>

#include "app/window/win/app_frame.h"

namespace tessafold {

// Asks to be drawn at each monitor's own scale (else at the system's), where
// the application manifest was not honoured. Called before any window exists.
void DeclareDpiAwareness();

// The system's DPI, which a new window starts at.
int SystemDpi();
// The DPI the window is drawn at.
int WindowDpi(HWND hwnd);

// The font the window and its controls are drawn in: the default GUI font at
// 96 DPI, else the same face and point size made for the window's DPI.
HFONT WindowFont(const LoadedWindow& window);

// Makes the window's font and icons for `window.dpi` and gives them to the
// window and its controls.
void ApplyFontAndIcons(LoadedWindow& window);

// The window has moved to a monitor of another DPI: takes the rectangle
// Windows suggests, places every control at its rectangle scaled for the new
// DPI and remakes the font and the icons.
void RescaleWindow(LoadedWindow& window, int dpi, const RECT& suggested);

}  // namespace tessafold
