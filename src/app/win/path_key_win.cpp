#include <windows.h>

#include <vector>

#include "app/path_key.h"
#include "app/win/wide_text.h"

namespace tessafold {

namespace {

// Calls a "fill this buffer or tell me the size" platform function until the
// buffer is large enough; empty on failure.
template <typename Fill>
std::wstring GrowingCall(Fill fill) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

}  // namespace

std::string PathKey(const std::string& path) {
  if (path.empty()) return {};
  const std::wstring wide = Widen(path);
  std::wstring full = GrowingCall([&](wchar_t* out, DWORD size) { return GetFullPathNameW(wide.c_str(), size, out, nullptr); });
  if (full.empty()) full = wide;
  // Short (8.3) and long spellings of an existing file name the same file.
  const std::wstring longName = GrowingCall([&](wchar_t* out, DWORD size) { return GetLongPathNameW(full.c_str(), out, size); });
  if (!longName.empty()) full = longName;
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return Narrow(full);
}

}  // namespace tessafold
