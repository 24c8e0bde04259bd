#include "app/window/win/window_class.h"

namespace tessafold {

const wchar_t* RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(module, name, &windowClass)) return name;
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
  return name;
}

}  // namespace tessafold
