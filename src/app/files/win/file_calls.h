#pragma once
// What every Windows file call of the program shares.
#include <windows.h>

#include <cstdint>
#include <string>

namespace tessafold {

// The form of a caller's UTF-8 path that every file call takes: full, and not
// held to 260 characters; empty for a path that is not usable.
std::wstring ApiPath(const std::string& path);

bool HasAttribute(DWORD attributes, DWORD wanted);

// The volume and file index of an open file, as FileIdentity gives them.
std::string IdentityText(const BY_HANDLE_FILE_INFORMATION& info);

// Requests as MoveInPieces takes them: the bytes moved, or -1.
inline auto ReadRequestOn(HANDLE file) {
  return [file](uint8_t* data, size_t count) -> int64_t {
    DWORD got = 0;
    if (!ReadFile(file, data, static_cast<DWORD>(count), &got, nullptr)) return -1;
    return got;
  };
}

inline auto WriteRequestOn(HANDLE file) {
  return [file](const uint8_t* data, size_t count) -> int64_t {
    DWORD put = 0;
    if (!WriteFile(file, data, static_cast<DWORD>(count), &put, nullptr)) return -1;
    return put;
  };
}

}  // namespace tessafold
