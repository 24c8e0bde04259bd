#include "app/files/win/file_calls.h"

#include <cstdio>

#include "app/files/extended_path.h"
#include "app/files/file_primitives_detail.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

// The full path in the form that is not held to 260 characters; empty on
// failure. The replacement must not depend on the current directory.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return {};
  full.resize(length);
  return ExtendedLengthPath(full);
}

}  // namespace

std::wstring ApiPath(const std::string& path) { return IsUsablePath(path) ? FullPath(Widen(path)) : std::wstring(); }

bool HasAttribute(DWORD attributes, DWORD wanted) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & wanted) != 0;
}

std::string IdentityText(const BY_HANDLE_FILE_INFORMATION& info) {
  char identity[32];
  std::snprintf(identity, sizeof identity, "%08lx:%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                info.nFileIndexLow);
  return identity;
}

}  // namespace tessafold
