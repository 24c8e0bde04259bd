#include <vector>

#include "app/window/tab_cycle.h"
#include "app/window/win/keyboard_focus.h"

namespace tessafold {

namespace {

std::vector<TabStop> CurrentTabStops(const LoadedWindow& window) {
  std::vector<TabStop> stops;
  for (const LoadedControl& control : window.controls) {
    const HWND hwnd = control.hwnd;
    stops.push_back(TabStopOf(*control.record, hwnd && IsWindowVisible(hwnd), hwnd && IsWindowEnabled(hwnd)));
  }
  return stops;
}

std::optional<size_t> IndexOf(const LoadedWindow& window, HWND hwnd) {
  for (size_t i = 0; i < window.controls.size(); ++i) {
    const HWND control = window.controls[i].hwnd;
    if (control && (control == hwnd || IsChild(control, hwnd))) return i;
  }
  return std::nullopt;
}

void FocusControlAt(const LoadedWindow& window, std::optional<size_t> index) {
  if (index) SetFocus(window.controls[*index].hwnd);
}

}  // namespace

void RestoreFocus(LoadedWindow& window) {
  const HWND last = window.lastFocus;
  if (last && IsWindow(last) && IsWindowVisible(last) && IsWindowEnabled(last) && IsChild(window.hwnd, last)) {
    SetFocus(last);
    return;
  }
  FocusControlAt(window, NextTabStop(CurrentTabStops(window), std::nullopt, false));
}

void MoveFocusByTab(LoadedWindow& window, bool backwards) {
  // With no focus (the focused button was just disabled) Tab goes on from where it was.
  std::optional<size_t> current = IndexOf(window, GetFocus());
  if (!current && window.lastFocus) current = IndexOf(window, window.lastFocus);
  FocusControlAt(window, NextTabStop(CurrentTabStops(window), current, backwards));
}

}  // namespace tessafold
