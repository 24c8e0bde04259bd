#include "app/window/win/form_window.h"

#include "app/window/win/app_frame.h"
#include "app/window/win/dark_mode.h"
#include "app/window/win/guarded_window_proc.h"
#include "app/window/win/keyboard_focus.h"
#include "app/window/win/window_class.h"
#include "app/window/win/window_dpi.h"

namespace tessafold {

namespace {

constexpr wchar_t kFormClass[] = L"TessafoldForm";
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, which older headers lack

LoadedWindow* WindowData(HWND hwnd) { return reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void RaiseControlEvent(LoadedWindow& window, int controlId, LayoutEvent event) {
  if (const LoadedControl* control = FindLoadedControl(window, controlId)) {
    RaiseEvent(window, control->record->bindings, event);
  }
}

// The window is gone: it is no longer loaded, and with no window left the loop ends.
void ForgetWindow(HWND hwnd, LoadedWindow& window) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  AppFrame& frame = Frame();
  for (auto entry = frame.windows.begin(); entry != frame.windows.end(); ++entry) {
    if (entry->second.get() == &window) {
      frame.windows.erase(entry);
      break;
    }
  }
  if (frame.windows.empty() && frame.loopStarted && !frame.shutdownDone) PostQuitMessage(0);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<LoadedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  LoadedWindow* window = WindowData(hwnd);
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);

  switch (message) {
    case WM_COMMAND:
      if (lParam && HIWORD(wParam) == BN_CLICKED) RaiseControlEvent(*window, LOWORD(wParam), LayoutEvent::Click);
      return 0;
    case WM_TIMER:
      RaiseControlEvent(*window, static_cast<int>(wParam), LayoutEvent::Tick);
      return 0;
    // Colours from the layout, the scheme and the system's colours.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      LRESULT brush = 0;
      const bool handled = ColorControl(*window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), &brush);
      return handled ? brush : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
      return EraseDarkBackground(*window, reinterpret_cast<HDC>(wParam)) ? 1 : DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      // "ImmersiveColorSet" announces the dark setting, the others high contrast
      // and changed system colours; any change is cheap to check.
      ApplyColorScheme(*window, SystemColorScheme());
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case kDpiChanged:
      RescaleWindow(*window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) window->lastFocus = focus;
      } else {
        RestoreFocus(*window);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(*window);
      return 0;
    case WM_NCDESTROY:
      ForgetWindow(hwnd, *window);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

const wchar_t* FormWindowClass() {
  return RegisterWindowClassOnce(kFormClass, Guarded<FormProc>, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace tessafold
