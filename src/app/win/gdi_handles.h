#pragma once
// Owners for the handles the frame creates.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace tessafold {

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace tessafold
