#pragma once
#include <windows.h>

#include "app/process/fatal_error.h"

namespace tessafold {

// A window procedure whose C++ exceptions end in the fatal error box. Windows
// calls window procedures from its own code, and a 64-bit Windows (or Wine)
// may swallow an exception that crosses it, leaving the program running on
// half-done work.
template <WNDPROC Procedure>
LRESULT CALLBACK Guarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Procedure(hwnd, message, wParam, lParam);
  } catch (...) {
    FatalRuntimeError(0, {});
  }
}

}  // namespace tessafold
