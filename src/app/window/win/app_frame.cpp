#include "app/window/win/app_frame.h"

namespace tessafold {

AppFrame& Frame() {
  static AppFrame frame;
  return frame;
}

LoadedWindow* FindLoadedWindow(int windowId) {
  const auto found = Frame().windows.find(windowId);
  if (found == Frame().windows.end() || !IsWindow(found->second->hwnd)) return nullptr;
  return found->second.get();
}

LoadedControl* FindLoadedControl(LoadedWindow& window, int controlId) {
  for (LoadedControl& control : window.controls) {
    if (control.record->id == controlId) return &control;
  }
  return nullptr;
}

LoadedWindow* LoadedWindowOf(HWND hwnd) {
  for (auto& [id, window] : Frame().windows) {
    if (window->hwnd && (hwnd == window->hwnd || IsChild(window->hwnd, hwnd))) return window.get();
  }
  return nullptr;
}

void RaiseEvent(LoadedWindow& window, const std::span<const EventBinding> bindings, LayoutEvent event) {
  if (!window.eventsEnabled) return;
  if (EventHandler handler = FindBinding(bindings, event)) handler();
}

}  // namespace tessafold
