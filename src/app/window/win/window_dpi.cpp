#include "app/window/win/window_dpi.h"

#include "app/window/win/window_icons.h"

namespace tessafold {

namespace {

// Windows 10 1607 and later; looked up at run time so older Windows still start.
template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  const HMODULE loaded = GetModuleHandleW(module);
  return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

using SetContextFunction = BOOL(WINAPI*)(HANDLE);
using DpiForWindowFunction = UINT(WINAPI*)(HWND);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _SYSTEM_AWARE, as older headers lack them.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kSystemAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-2));

HFONT StockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// Null when the stock font is already the font for that DPI, as at 96 DPI.
FontHandle MakeFontForDpi(int dpi) {
  LOGFONTW font{};
  if (!GetObjectW(StockFont(), sizeof font, &font)) return nullptr;
  // The stock font is made for the system's DPI.
  const int systemDpi = SystemDpi();
  const int32_t height = FontHeightForPoints(PointSizeOfHeight(font.lfHeight, systemDpi), dpi);
  if (height == font.lfHeight || font.lfHeight == 0) return nullptr;
  font.lfHeight = height;
  font.lfWidth = font.lfWidth ? MulDiv(font.lfWidth, dpi, systemDpi) : 0;
  return FontHandle(CreateFontIndirectW(&font));
}

void PlaceControl(const LoadedWindow& window, const LoadedControl& control) {
  if (!control.hwnd) return;
  const LayoutRect rect = ScaleRect(control.stored.rect, window.dpi);
  SetWindowPos(control.hwnd, nullptr, rect.left, rect.top, rect.width, rect.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void DeclareDpiAwareness() {
  if (const auto setContext = Lookup<SetContextFunction>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    // Fails when the manifest has already decided, which is as good.
    if (setContext(kPerMonitorAwareV2) || setContext(kSystemAware)) return;
    if (GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  SetProcessDPIAware();
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kLayoutDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kLayoutDpi;
}

int WindowDpi(HWND hwnd) {
  static const auto dpiForWindow = Lookup<DpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  const int dpi = dpiForWindow ? static_cast<int>(dpiForWindow(hwnd)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

HFONT WindowFont(const LoadedWindow& window) { return window.scaledFont ? window.scaledFont.get() : StockFont(); }

void ApplyFontAndIcons(LoadedWindow& window) {
  // The old font stays alive until no control holds it any more.
  FontHandle previous = std::move(window.scaledFont);
  window.scaledFont = MakeFontForDpi(window.dpi);
  const HFONT font = WindowFont(window);
  SendMessageW(window.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const LoadedControl& control : window.controls) {
    if (control.hwnd) SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }

  IconHandle large = LoadWindowIcon(ScaleLength(32, window.dpi));
  IconHandle small = LoadWindowIcon(ScaleLength(16, window.dpi));
  SendMessageW(window.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
  SendMessageW(window.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  window.largeIcon = std::move(large);
  window.smallIcon = std::move(small);
}

void RescaleWindow(LoadedWindow& window, int dpi, const RECT& suggested) {
  window.dpi = dpi;
  SetWindowPos(window.hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const LoadedControl& control : window.controls) PlaceControl(window, control);
  ApplyFontAndIcons(window);
  InvalidateRect(window.hwnd, nullptr, TRUE);
}

}  // namespace tessafold
