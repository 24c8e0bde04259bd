#pragma once
// The light, dark or high-contrast scheme of a loaded window, following the
// system's setting for apps and its high-contrast flag. The light scheme is
// the layout's colours from the system's colours and the platform's own look,
// exactly; high contrast the system's colours alone; the dark one draws the window, labels, edit
// fields and usage box dark with light text, and asks Windows for its dark
// title bar and buttons where it has them.
#include <windows.h>

#include "app/window/win/app_frame.h"

namespace tessafold {

// High contrast while the system's flag is on; else dark when the system's
// "AppsUseLightTheme" says 0, else light.
ColorScheme SystemColorScheme();

// Draws the window in that scheme, with the system's current colours, from
// now on.
void ApplyColorScheme(LoadedWindow& window, ColorScheme scheme);

// Answers a WM_CTLCOLOR* message for a control of the window: sets the
// device context's colours and gives the brush to fill with. False where the
// platform's own colours apply (a disabled edit field in the light scheme,
// a button in the light scheme).
bool ColorControl(LoadedWindow& window, HDC dc, HWND control, LRESULT* brush);

// Fills the window's background in the dark scheme; false in the light one,
// where the window class's brush does it.
bool EraseDarkBackground(const LoadedWindow& window, HDC dc);

}  // namespace tessafold
