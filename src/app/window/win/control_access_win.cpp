#include <windows.h>

#include <vector>

#include "app/process/fatal_error.h"
#include "app/window/control_access.h"
#include "app/text/text_to_int.h"
#include "app/window/win/app_frame.h"
#include "app/window/win/relay_window.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

enum class AccessFault { None, WindowNotLoaded, ControlWindowMissing };

// Raised on the caller's thread, after the user interface thread has answered.
void RaiseFault(AccessFault fault) {
  if (fault == AccessFault::WindowNotLoaded) FatalRuntimeError(0, kWindowNotLoadedMessage);
  if (fault == AccessFault::ControlWindowMissing) FatalRuntimeError(0, kControlWindowMissingMessage);
}

int32_t AsNumber(const ControlValue& value) {
  if (const auto* number = std::get_if<int32_t>(&value)) return *number;
  return TextToInt(std::get<std::string>(value));
}

std::string WindowText(HWND hwnd) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1);
  const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  return Narrow(std::wstring_view(text.data(), static_cast<size_t>(length)));
}

int32_t& RectField(LayoutRect& rect, ControlProperty property) {
  switch (property) {
    case kPropertyLeft: return rect.left;
    case kPropertyTop: return rect.top;
    case kPropertyWidth: return rect.width;
    default: return rect.height;
  }
}

bool IsRectProperty(ControlProperty property) { return property >= kPropertyLeft && property <= kPropertyHeight; }

// The control on the user interface thread, or the fault that stops the access.
struct Located {
  LoadedWindow* window = nullptr;
  LoadedControl* control = nullptr;
  AccessFault fault = AccessFault::None;
};

Located Locate(int windowId, int controlId, ControlProperty property) {
  Located found;
  found.window = FindLoadedWindow(windowId);
  if (!found.window) return {nullptr, nullptr, AccessFault::WindowNotLoaded};
  found.control = FindLoadedControl(*found.window, controlId);
  // A property of the control's own kind needs its on-screen window; the
  // file dialog component keeps all of its own in the stored copy.
  const bool ownKind = property >= kPropertyEditText;
  const bool component = found.control && found.control->record->kind == ControlKind::FileDialog;
  if (!found.control || (ownKind && !component && !found.control->hwnd)) found.fault = AccessFault::ControlWindowMissing;
  return found;
}

ControlValue ReadCommon(LoadedControl& control, ControlProperty property) {
  StoredProperties& stored = control.stored;
  const HWND hwnd = control.hwnd;
  if (IsRectProperty(property)) {
    // In the layout's 96-DPI units; the screen shows it scaled.
    return RectField(stored.rect, property);
  }
  switch (property) {
    case kPropertyTag: return stored.tag;
    case kPropertyVisible: return int32_t{hwnd ? (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0 : stored.visible};
    case kPropertyDisabled: return int32_t{hwnd ? !IsWindowEnabled(hwnd) : stored.disabled};
    default: return stored.mousePointer;
  }
}

ControlValue ReadOwnKind(LoadedControl& control, ControlProperty property) {
  if (control.record->kind == ControlKind::FileDialog) {
    return property == kPropertyDialogFileName ? ControlValue{control.stored.fileName} : ControlValue{int32_t{0}};
  }
  if (property != kPropertyEditText) return int32_t{0};
  control.stored.text = WindowText(control.hwnd);
  return control.stored.text;
}

void WriteCommon(LoadedWindow& window, LoadedControl& control, ControlProperty property, const ControlValue& value) {
  StoredProperties& stored = control.stored;
  const HWND hwnd = control.hwnd;
  if (IsRectProperty(property)) {
    RectField(stored.rect, property) = AsNumber(value);
    const LayoutRect scaled = ScaleRect(stored.rect, window.dpi);
    if (hwnd) MoveWindow(hwnd, scaled.left, scaled.top, scaled.width, scaled.height, TRUE);
    return;
  }
  switch (property) {
    case kPropertyTag:
      stored.tag = ControlValueText(value);
      break;
    case kPropertyVisible:
      stored.visible = AsNumber(value) != 0;
      if (hwnd) ShowWindow(hwnd, stored.visible ? SW_SHOWNA : SW_HIDE);
      break;
    case kPropertyDisabled:
      stored.disabled = AsNumber(value) != 0;
      // Tab goes on from here when the focused control is disabled under it.
      if (hwnd && stored.disabled && GetFocus() == hwnd) window.lastFocus = hwnd;
      if (hwnd) EnableWindow(hwnd, !stored.disabled);
      break;
    default:
      stored.mousePointer = AsNumber(value);
      break;
  }
}

void WriteOwnKind(LoadedControl& control, ControlProperty property, const ControlValue& value) {
  if (control.record->kind == ControlKind::FileDialog) {
    if (property == kPropertyDialogFileName) control.stored.fileName = ControlValueText(value);
    return;
  }
  if (property != kPropertyEditText) return;
  control.stored.text = ControlValueText(value);
  SetWindowTextW(control.hwnd, Widen(control.stored.text).c_str());
  if (control.record->kind == ControlKind::EditBox) {
    SendMessageW(control.hwnd, WM_COMMAND, MAKEWPARAM(control.record->id, EN_CHANGE),
                 reinterpret_cast<LPARAM>(control.hwnd));
  }
}

}  // namespace

ControlValue GetControlProperty(int windowId, int controlId, ControlProperty property) {
  ControlValue value = int32_t{0};
  AccessFault fault = AccessFault::None;
  RunOnUiThread([&] {
    const Located found = Locate(windowId, controlId, property);
    fault = found.fault;
    if (fault != AccessFault::None) return;
    value = property >= kPropertyEditText ? ReadOwnKind(*found.control, property) : ReadCommon(*found.control, property);
  });
  RaiseFault(fault);
  return value;
}

void SetControlProperty(int windowId, int controlId, ControlProperty property, const ControlValue& value) {
  AccessFault fault = AccessFault::None;
  RunOnUiThread([&] {
    const Located found = Locate(windowId, controlId, property);
    fault = found.fault;
    if (fault != AccessFault::None) return;
    if (property >= kPropertyEditText) {
      WriteOwnKind(*found.control, property, value);
    } else {
      WriteCommon(*found.window, *found.control, property, value);
    }
  });
  RaiseFault(fault);
}

}  // namespace tessafold
