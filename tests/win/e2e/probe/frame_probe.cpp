// The real frame, window and services with one extra step, picked by the
// first argument, for what cannot be brought about from outside the program:
//   worker-fatal        a worker raises a fatal error while the window runs
//   access-during-box   a worker writes, reads and disables controls while a
//                       message box is open on the user interface thread
//   not-loaded          a worker reads a control of a window that is not loaded
//   no-window           a worker reads the text of the timer, which has no window
//   no-relay            the relay window cannot be created at start-up
//   worker-throws       an exception escapes a worker
//   hold-throws         the same while the worker holds off the end, as a
//                       replacement does
//   ui-throws           an exception escapes work that a worker hands to the
//                       user interface thread, once the loop runs
//   yes-no              the process ends with ShowMessage's result for a Yes/No box
//   icons               the process ends with what the window's icons are made of:
//                       large width << 8 | small width, plus 1 << 16 (large) and
//                       1 << 17 (small) when the icon has partly transparent pixels,
//                       which only the 32-bit images have
// A second argument "moved" first moves the window, as Windows does, to a
// monitor of 144 DPI (WM_DPICHANGED with the rectangle Windows would suggest).
//   captions            the process ends with the font's character height << 16
//                       | a bit (1 << id) for every label and button whose
//                       caption does not fit its control in the control's font
#include <windows.h>
#include <shellapi.h>

#include <new>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/process/fatal_error.h"
#include "app/process/worker.h"
#include "app/window/control_access.h"
#include "app/window/message_box.h"
#include "app/window/message_loop.h"
#include "app/window/start_application.h"
#include "app/window/window_loader.h"
#include "app/process/process_end.h"
#include "app/process/shutdown_hold.h"
#include "app/window/win/relay_window.h"
#include "ui/main_window_ids.h"
#include "ui/main_window_layout.h"

using namespace tessafold;

namespace {

void RaiseFatal(void*) { FatalRuntimeError(0, "探针"); }

void TouchControlsUnderTheBox(void*) {
  while (!FindWindowW(L"#32770", L"信息：")) Sleep(10);
  SetControlProperty(kMainWindow, keyEdit, kPropertyEditText, std::string("甲乙"));
  const std::string read = GetControlText(kMainWindow, keyEdit);
  SetControlProperty(kMainWindow, repeatEdit, kPropertyEditText, read + "!");
  SetControlDisabled(kMainWindow, encryptButton, true);
}

void ThrowOnWorker(void*) { throw std::bad_alloc(); }

// Nothing unwinds on the way to the fatal end, so the hold stays taken.
void ThrowUnderAHold(void*) {
  const ShutdownHold hold;
  throw std::bad_alloc();
}

// The work runs in the frame's own window procedure on the user interface thread.
void ThrowOnUiThread(void*) {
  RunOnUiThread([] {
    const std::variant<int, std::string> value = 1;
    std::get<std::string>(value);
  });
}

void ReadUnloadedWindow(void*) { GetControlText(kMainWindow + 41, keyEdit); }

void ReadTimerText(void*) { GetControlText(kMainWindow, formTimer); }

// Refuses to create the relay window, as a desktop out of resources would.
LRESULT CALLBACK RefuseRelayWindow(int code, WPARAM wParam, LPARAM lParam) {
  const wchar_t* windowClass = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass : nullptr;
  if (windowClass && !IS_INTRESOURCE(windowClass) && lstrcmpW(windowClass, L"TessafoldRelay") == 0) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct IconMake {
  int width = 0;
  bool partlyTransparent = false;
};

IconMake Inspect(HICON icon) {
  IconMake make;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return make;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  make.width = bitmap.bmWidth;
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<size_t>(bitmap.bmWidth * bitmap.bmHeight));
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (const RGBQUAD& pixel : pixels) make.partlyTransparent |= pixel.rgbReserved > 0 && pixel.rgbReserved < 255;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return make;
}

uint32_t WindowIconMake() {
  const HWND window = FindWindowW(nullptr, L"Tessafoldv1.1");
  const IconMake large = Inspect(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)));
  const IconMake small = Inspect(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
  return static_cast<uint32_t>(large.width << 8 | small.width | large.partlyTransparent << 16 |
                               small.partlyTransparent << 17);
}

// Measured as each control draws: a label wraps at its width, a button keeps
// its caption on one line inside its border.
uint32_t CaptionFit() {
  uint32_t misfits = 0;
  LOGFONTW font{};
  const HWND window = FindWindowW(nullptr, L"Tessafoldv1.1");
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[64] = {}, text[256] = {};
    GetClassNameW(child, kind, 64);
    const bool label = lstrcmpiW(kind, L"Static") == 0;
    if (!label && lstrcmpiW(kind, L"Button") != 0) continue;
    const int length = GetWindowTextW(child, text, 256);
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    RECT room;
    GetClientRect(child, &room);
    if (!label) InflateRect(&room, -2 * GetSystemMetrics(SM_CXEDGE), -2 * GetSystemMetrics(SM_CYEDGE));
    RECT needed{0, 0, room.right - room.left, 0};
    const HDC dc = GetDC(child);
    const HGDIOBJ previous = SelectObject(dc, handle);
    DrawTextW(dc, text, length, &needed, DT_CALCRECT | DT_NOPREFIX | (label ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(child, dc);
    const bool fits = needed.right <= room.right - room.left && needed.bottom <= room.bottom - room.top;
    misfits |= fits ? 0 : 1u << GetDlgCtrlID(child);
  }
  return static_cast<uint32_t>(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight) << 16 | misfits;
}

void MoveToMonitorOf144Dpi() {
  const HWND window = FindWindowW(nullptr, L"Tessafoldv1.1");
  RECT suggested;
  GetWindowRect(window, &suggested);
  suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, 144, 96);
  suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, 144, 96);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
}

std::wstring scenario;
bool moved = false;

// The program's own entry routine with the scenario's step.
int ProbeEntry() {
  if (scenario == L"no-relay") SetWindowsHookExW(WH_CBT, RefuseRelayWindow, nullptr, GetCurrentThreadId());
  StartApplication();
  LoadWindow(kMainWindow);
  if (moved) MoveToMonitorOf144Dpi();
  const std::pair<const wchar_t*, WorkerRoutine> workers[] = {
      {L"worker-fatal", RaiseFatal},     {L"not-loaded", ReadUnloadedWindow}, {L"no-window", ReadTimerText},
      {L"worker-throws", ThrowOnWorker}, {L"hold-throws", ThrowUnderAHold},   {L"ui-throws", ThrowOnUiThread}};
  for (const auto& [name, routine] : workers) {
    if (scenario == name) StartWorker(routine);
  }
  if (scenario == L"access-during-box") {
    StartWorker(TouchControlsUnderTheBox);
    ShowMessage("探针");
  }
  if (scenario == L"icons") EndProcess(WindowIconMake());
  if (scenario == L"captions") EndProcess(CaptionFit());
  if (scenario == L"yes-no") EndProcess(static_cast<uint32_t>(ShowMessage("继续？", MB_YESNO)));
  RunMessageLoop();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count > 1) scenario = args[1];
  moved = count > 2 && std::wstring(args[2]) == L"moved";
  RunProgram(ProbeEntry, BuiltInWindowLayouts());
}
