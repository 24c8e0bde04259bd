#include "app/window/message_loop.h"
#include "app/window/win/app_frame.h"
#include "app/window/win/keyboard_focus.h"

namespace tessafold {

namespace {

bool KeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

// Whoever moves about by keyboard sees where the focus is from now on, also
// after starting with the mouse.
void ShowFocusCues(const LoadedWindow& window) {
  SendMessageW(window.hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// The window-level keyboard: Tab and Shift+Tab walk the cycle, Esc closes the
// window as its close button does, Enter does nothing. True when the key was
// taken here and must not reach the control.
bool PreTranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  LoadedWindow* window = LoadedWindowOf(message.hwnd);
  if (!window) return false;
  switch (message.wParam) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      ShowFocusCues(*window);
      return false;
    case VK_TAB:
      if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
      ShowFocusCues(*window);
      MoveFocusByTab(*window, KeyDown(VK_SHIFT));
      return true;
    case VK_ESCAPE:
      if (!window->record->escCloses) return false;
      PostMessageW(window->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_RETURN:
      return !window->record->enterMovesFocus;
    default:
      return false;
  }
}

}  // namespace

void RunMessageLoop() {
  AppFrame& frame = Frame();
  frame.loopStarted = true;
  if (frame.windows.empty()) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslateKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace tessafold
