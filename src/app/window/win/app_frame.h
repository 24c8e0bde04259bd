#pragma once
// The application frame's state: one object per process, owned by the user
// interface thread.
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/window/color_scheme.h"
#include "app/window/display_scale.h"
#include "app/window/window_layout.h"
#include "app/win/handle_owners.h"

namespace tessafold {

// The copy of a control's properties that is kept beside its on-screen window.
struct StoredProperties {
  LayoutRect rect;
  std::string tag;
  bool visible;
  bool disabled;
  int32_t mousePointer = 0;
  std::string text;
  std::string fileName;
};

struct LoadedControl {
  const ControlRecord* record;
  HWND hwnd = nullptr;  // none for the invisible components
  StoredProperties stored;
};

struct LoadedWindow {
  const WindowRecord* record;
  HWND hwnd = nullptr;
  std::vector<LoadedControl> controls;  // in creation order
  HWND lastFocus = nullptr;             // restored when the window is activated again
  bool eventsEnabled = false;           // events raised while the window is built are dropped
  IconHandle largeIcon;
  IconHandle smallIcon;
  int dpi = kLayoutDpi;      // the scale the window and its controls are drawn at
  FontHandle scaledFont;     // the default GUI font made for `dpi`; none where the stock font is that
  ColorScheme scheme = ColorScheme::Light;
  BrushHandle surfaceBrush;  // the dark scheme's brushes; none in the light scheme
  BrushHandle fieldBrush;
};

struct AppFrame {
  DWORD uiThreadId = 0;
  // Read by workers while the user interface thread may take it away at the end.
  std::atomic<HWND> relayWindow = nullptr;
  std::map<int, std::unique_ptr<LoadedWindow>> windows;
  std::span<const WindowRecord> layouts;
  std::string programDirectory;
  bool loopStarted = false;
  bool shutdownDone = false;
  bool oleStarted = false;
};

AppFrame& Frame();

// A loaded window whose on-screen window still exists, or null.
LoadedWindow* FindLoadedWindow(int windowId);
LoadedControl* FindLoadedControl(LoadedWindow& window, int controlId);
// The loaded window whose top-level window is `hwnd` or contains it, or null.
LoadedWindow* LoadedWindowOf(HWND hwnd);

// Calls the handler bound to the event, unless the window is still being built.
void RaiseEvent(LoadedWindow& window, const std::span<const EventBinding> bindings, LayoutEvent event);

}  // namespace tessafold
