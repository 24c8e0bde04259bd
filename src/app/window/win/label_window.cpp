#include "app/window/win/label_window.h"

#include <windows.h>

#include <string>

#include "app/window/win/guarded_window_proc.h"
#include "app/window/win/window_class.h"

namespace tessafold {

namespace {

constexpr wchar_t kLabelClass[] = L"TessafoldLabel";

std::wstring OwnText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Paint(HWND hwnd) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd, &paint);
  RECT area;
  GetClientRect(hwnd, &area);
  // The parent chooses the colours, as for a static control.
  SetTextColor(dc, RGB(0, 0, 0));
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
  const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  std::wstring text = OwnText(hwnd);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &area, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP);
  if (previous) SelectObject(dc, previous);
  EndPaint(hwnd, &paint);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole label
    case WM_SETFONT:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

const wchar_t* LabelWindowClass() {
  return RegisterWindowClassOnce(kLabelClass, Guarded<LabelProc>, CS_HREDRAW | CS_VREDRAW);
}

}  // namespace tessafold
