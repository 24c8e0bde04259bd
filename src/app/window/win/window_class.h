#pragma once
#include <windows.h>

namespace tessafold {

// Registers the program's window class of that name the first time it is
// asked for (arrow cursor, this module) and gives the name back, for
// CreateWindowExW. Later calls find it registered and only give the name.
const wchar_t* RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, UINT style = 0,
                                       HBRUSH background = nullptr);

}  // namespace tessafold
