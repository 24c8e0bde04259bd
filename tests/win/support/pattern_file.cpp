#include "pattern_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace faults {

namespace {

constexpr DWORD kPiece = 8 << 20;

uint8_t PatternAt(uint64_t at) { return static_cast<uint8_t>(static_cast<uint32_t>(at * 0x9E3779B1u) >> 24); }

DWORD PieceAt(uint64_t at, uint64_t size) { return static_cast<DWORD>(std::min<uint64_t>(kPiece, size - at)); }

// Closes the handle when the scope ends.
struct OpenFile {
  explicit OpenFile(HANDLE handle) : handle(handle) {}
  ~OpenFile() {
    if (Valid()) CloseHandle(handle);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
  HANDLE handle;
};

}  // namespace

bool WritePatternFile(const std::wstring& path, uint64_t size, uint8_t shift) {
  OpenFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  std::vector<uint8_t> piece(kPiece);
  for (uint64_t at = 0; at < size; at += kPiece) {
    const DWORD count = PieceAt(at, size);
    for (DWORD i = 0; i < count; ++i) piece[i] = static_cast<uint8_t>(PatternAt(at + i) + shift);
    DWORD written = 0;
    if (!WriteFile(file.handle, piece.data(), count, &written, nullptr) || written != count) return false;
  }
  // On disk before the test starts timing what comes next.
  return FlushFileBuffers(file.handle) != 0;
}

std::optional<uint8_t> PatternShift(const std::wstring& path, uint64_t size) {
  OpenFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER actual{};
  if (!file.Valid() || !GetFileSizeEx(file.handle, &actual) || static_cast<uint64_t>(actual.QuadPart) != size) {
    return std::nullopt;
  }
  std::optional<uint8_t> shift;
  std::vector<uint8_t> piece(kPiece);
  for (uint64_t at = 0; at < size; at += kPiece) {
    const DWORD count = PieceAt(at, size);
    DWORD read = 0;
    if (!ReadFile(file.handle, piece.data(), count, &read, nullptr) || read != count) return std::nullopt;
    if (!shift) shift = static_cast<uint8_t>(piece[0] - PatternAt(0));
    for (DWORD i = 0; i < count; ++i) {
      if (piece[i] != static_cast<uint8_t>(PatternAt(at + i) + *shift)) return std::nullopt;
    }
  }
  return size == 0 ? std::optional<uint8_t>(0) : shift;
}

}  // namespace faults
