#include "app/window/win/dark_mode.h"

#include <uxtheme.h>

#include "app/window/win/form_window.h"

namespace tessafold {

namespace {

// DWMWA_USE_IMMERSIVE_DARK_MODE: 20 from Windows 10 20H1, 19 before it.
constexpr DWORD kDarkTitleBar = 20;
constexpr DWORD kDarkTitleBarBefore20H1 = 19;

using DwmSetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);

// dwmapi.dll is looked up at run time: a title bar that stays light is better
// than a program that does not start.
DwmSetAttributeFunction DwmSetAttribute() {
  static const ModuleHandle dwm(LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  static const auto function = dwm ? reinterpret_cast<DwmSetAttributeFunction>(
                                         reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmSetWindowAttribute")))
                                   : nullptr;
  return function;
}

void SetDarkTitleBar(HWND hwnd, bool dark) {
  const DwmSetAttributeFunction set = DwmSetAttribute();
  if (!set) return;
  const BOOL value = dark;
  if (FAILED(set(hwnd, kDarkTitleBar, &value, sizeof value))) set(hwnd, kDarkTitleBarBefore20H1, &value, sizeof value);
}

// The system's own brushes for its colours, ours for the dark ones, else the
// device context's brush set to the colour.
HBRUSH BrushFor(const LoadedWindow& window, HDC dc, uint32_t color) {
  for (int system : {COLOR_BTNFACE, COLOR_WINDOW}) {
    if (color == GetSysColor(system)) return GetSysColorBrush(system);
  }
  if (window.surfaceBrush && color == kDarkSurface) return window.surfaceBrush.get();
  if (window.fieldBrush && color == kDarkField) return window.fieldBrush.get();
  SetDCBrushColor(dc, color);
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

SystemColors CurrentSystemColors() {
  return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

ColorScheme SystemColorScheme() {
  DWORD light = 1;
  DWORD size = sizeof light;
  const LSTATUS read = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                    L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size);
  return ChooseColorScheme(read == ERROR_SUCCESS && light == 0, HighContrastOn());
}

void ApplyColorScheme(LoadedWindow& window, ColorScheme scheme) {
  if (scheme != window.scheme) {
    window.scheme = scheme;
    const bool dark = scheme == ColorScheme::Dark;
    window.surfaceBrush.reset(dark ? CreateSolidBrush(kDarkSurface) : nullptr);
    window.fieldBrush.reset(dark ? CreateSolidBrush(kDarkField) : nullptr);
    SetDarkTitleBar(window.hwnd, dark);
    for (const LoadedControl& control : window.controls) {
      // Null names give the button the system's own theme back, empty ones
      // none, so high contrast draws it in the system's colours.
      if (control.hwnd && control.record->kind == ControlKind::Button) {
        const bool plain = scheme == ColorScheme::HighContrast;
        SetWindowTheme(control.hwnd, dark ? L"DarkMode_Explorer" : plain ? L"" : nullptr, plain ? L"" : nullptr);
      }
    }
  }
  // The system's colours may have changed under the same scheme.
  RedrawWindow(window.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool ColorControl(LoadedWindow& window, HDC dc, HWND control, LRESULT* brush) {
  const LoadedControl* loaded = FindLoadedControl(window, GetDlgCtrlID(control));
  if (!loaded) return false;
  const bool dark = window.scheme == ColorScheme::Dark;
  LayoutColor text = kBlack;
  LayoutColor back = window.record->backColor;
  switch (loaded->record->kind) {
    case ControlKind::EditBox: {
      const auto& edit = std::get<EditBoxProperties>(loaded->record->properties);
      const bool enabled = IsWindowEnabled(control);
      if (!enabled && !dark) return false;  // the platform's disabled look
      text = enabled ? edit.textColor : LayoutColor{false, kDarkDisabledText};
      back = edit.backColor;
      break;
    }
    case ControlKind::Label: {
      const auto& label = std::get<LabelProperties>(loaded->record->properties);
      text = label.textColor;
      back = label.backColor;
      break;
    }
    case ControlKind::Button:
      if (!dark) return false;
      break;
    default:
      return false;
  }
  const DrawColors colors = SchemeColors(text, back, window.scheme, CurrentSystemColors());
  // A button draws its caption on its own face, which only its theme makes dark.
  if (loaded->record->kind != ControlKind::Button) SetTextColor(dc, colors.text);
  // A label's caption lies on its filled rectangle; a field's text keeps its own background.
  if (loaded->record->kind == ControlKind::Label) SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, colors.back);
  *brush = reinterpret_cast<LRESULT>(BrushFor(window, dc, colors.back));
  return true;
}

bool EraseDarkBackground(const LoadedWindow& window, HDC dc) {
  if (window.scheme != ColorScheme::Dark || !window.surfaceBrush) return false;
  RECT client;
  GetClientRect(window.hwnd, &client);
  FillRect(dc, &client, window.surfaceBrush.get());
  return true;
}

}  // namespace tessafold
