#include "app/process/fatal_error.h"
#include "app/window/window_loader.h"
#include "app/window/win/app_frame.h"
#include "app/window/win/form_window.h"
#include "app/window/win/keyboard_focus.h"
#include "app/window/win/screen_reader_names.h"
#include "app/text/win/wide_text.h"
#include "app/window/win/dark_mode.h"
#include "app/window/win/window_dpi.h"

namespace tessafold {

namespace {

struct ControlStyle {
  const wchar_t* windowClass;  // null: a component without a window of its own
  DWORD style;
  DWORD exStyle;
};

ControlStyle StyleOf(const ControlRecord& record) {
  const DWORD common = WS_CHILD | (record.tabStop ? WS_TABSTOP : 0) | (record.disabled ? WS_DISABLED : 0);
  switch (record.kind) {
    case ControlKind::Label: {
      // A standard static, so screen readers read it and name the edit after it.
      const auto& label = std::get<LabelProperties>(record.properties);
      const DWORD style = (label.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | (label.literalAmpersand ? SS_NOPREFIX : 0);
      return {L"STATIC", common | style, 0};
    }
    case ControlKind::EditBox: {
      const auto& edit = std::get<EditBoxProperties>(record.properties);
      const DWORD style = ES_LEFT | (edit.multiLine ? ES_MULTILINE : 0) | (edit.autoHScroll ? ES_AUTOHSCROLL : 0) |
                          (edit.autoVScroll ? ES_AUTOVSCROLL : 0) | (edit.readOnly ? ES_READONLY : 0) |
                          (edit.hideSelection ? 0 : ES_NOHIDESEL);
      return {L"EDIT", common | style, edit.clientEdge ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0};
    }
    case ControlKind::Button: {
      const auto& button = std::get<ButtonProperties>(record.properties);
      const DWORD style = (button.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                          (button.multiLine ? BS_MULTILINE : 0) | BS_CENTER | BS_VCENTER;
      return {L"BUTTON", common | style, 0};
    }
    case ControlKind::FileDialog:
    case ControlKind::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

StoredProperties StoredFromLayout(const ControlRecord& record) {
  return {record.rect, {}, record.visible, record.disabled, 0, std::string(record.text), {}};
}

// Created hidden, at its rectangle scaled for the window's DPI: exactly as
// stored at 96 DPI.
HWND CreateControl(const LoadedWindow& window, const ControlRecord& record, HFONT font) {
  if (record.kind == ControlKind::Timer) {
    SetTimer(window.hwnd, static_cast<UINT_PTR>(record.id), std::get<TimerProperties>(record.properties).periodMs, nullptr);
    return nullptr;
  }
  const ControlStyle style = StyleOf(record);
  if (!style.windowClass) return nullptr;
  const LayoutRect rect = ScaleRect(record.rect, window.dpi);
  const HWND hwnd = CreateWindowExW(style.exStyle, style.windowClass, Widen(record.text).c_str(), style.style,
                                    rect.left, rect.top, rect.width, rect.height,
                                    window.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id)),
                                    GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (record.kind == ControlKind::EditBox) {
    SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(std::get<EditBoxProperties>(record.properties).maxLength), 0);
    SendMessageW(hwnd, EM_SETSEL, 0, 0);
  }
  return hwnd;
}

POINT StartPoint(const WindowRecord& record, int width, int height) {
  if (record.startPosition != StartPosition::CenterScreen) return {record.outer.left, record.outer.top};
  // The full screen, not the work area.
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

// The window's outer size at its DPI; centred again when it was centred.
void SizeFrame(const LoadedWindow& window, bool move) {
  const int width = ScaleLength(window.record->outer.width, window.dpi);
  const int height = ScaleLength(window.record->outer.height, window.dpi);
  const POINT at = StartPoint(*window.record, width, height);
  SetWindowPos(window.hwnd, nullptr, at.x, at.y, width, height,
               (move ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CreateFrameWindow(LoadedWindow& window) {
  const WindowRecord& record = *window.record;
  const DWORD style = WS_OVERLAPPED | (record.fixedDialogFrame ? WS_CAPTION : WS_CAPTION | WS_THICKFRAME) |
                      (record.controlBox ? WS_SYSMENU : 0) | (record.minimizeBox ? WS_MINIMIZEBOX : 0) |
                      (record.maximizeBox ? WS_MAXIMIZEBOX : 0) | (record.clipChildren ? WS_CLIPCHILDREN : 0);
  const DWORD exStyle = (record.showInTaskbar ? WS_EX_APPWINDOW : 0) | (record.alwaysOnTop ? WS_EX_TOPMOST : 0);
  window.dpi = SystemDpi();
  const int width = ScaleLength(record.outer.width, window.dpi);
  const int height = ScaleLength(record.outer.height, window.dpi);
  const POINT at = StartPoint(record, width, height);
  CreateWindowExW(exStyle, FormWindowClass(), Widen(record.title).c_str(), style, at.x, at.y, width, height, nullptr,
                  nullptr, GetModuleHandleW(nullptr), &window);
  if (!window.hwnd) return false;
  RECT outer;
  GetWindowRect(window.hwnd, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height) SizeFrame(window, false);
  // Placed on a monitor of another scale than the system's.
  const int dpi = WindowDpi(window.hwnd);
  if (dpi != window.dpi) {
    window.dpi = dpi;
    SizeFrame(window, true);
  }
  return true;
}

void BuildWindow(LoadedWindow& window) {
  ApplyFontAndIcons(window);
  const HFONT font = WindowFont(window);
  window.controls.reserve(window.record->controls.size());
  for (const ControlRecord& record : window.record->controls) {
    window.controls.push_back({&record, CreateControl(window, record, font), StoredFromLayout(record)});
  }
  // Light, as the layout says, unless the system asks for dark or high contrast.
  ApplyColorScheme(window, SystemColorScheme());
  NameForScreenReaders(window);
  // The last created lies on top.
  for (const LoadedControl& control : window.controls) {
    if (control.hwnd) SetWindowPos(control.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (const LoadedControl& control : window.controls) {
    if (control.hwnd && control.record->visible) ShowWindow(control.hwnd, SW_SHOWNA);
  }
}

}  // namespace

void LoadWindow(int windowId) {
  AppFrame& frame = Frame();
  const WindowRecord* record = FindWindowRecord(frame.layouts, windowId);
  if (!record) FatalRuntimeError(0, kStartupWindowFailedMessage);
  if (FindLoadedWindow(windowId)) return;

  auto& slot = frame.windows[windowId];
  slot = std::make_unique<LoadedWindow>();
  slot->record = record;
  if (!CreateFrameWindow(*slot)) {
    frame.windows.erase(windowId);
    FatalRuntimeError(0, kStartupWindowFailedMessage);
  }
  BuildWindow(*slot);
  slot->eventsEnabled = true;

  // A handler may close the window; loading then simply stops.
  for (LayoutEvent event : {LayoutEvent::Created, LayoutEvent::Moved, LayoutEvent::Resized}) {
    LoadedWindow* live = FindLoadedWindow(windowId);
    if (!live) return;
    RaiseEvent(*live, record->bindings, event);
  }
  LoadedWindow* live = FindLoadedWindow(windowId);
  if (!live || !record->visible) return;
  ShowWindow(live->hwnd, SW_SHOWNORMAL);
  UpdateWindow(live->hwnd);
  if (GetActiveWindow() == live->hwnd) RestoreFocus(*live);
}

}  // namespace tessafold
