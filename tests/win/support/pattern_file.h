#pragma once
// Large test files whose every byte follows from its position: they are made
// and checked piece by piece without a second copy in memory, and a file that
// mixes old and new content is told from one that is whole.
#include <cstdint>
#include <optional>
#include <string>

namespace faults {

// Writes `size` bytes of the pattern, each raised by `shift`.
bool WritePatternFile(const std::wstring& path, uint64_t size, uint8_t shift = 0);

// The shift by which the file is exactly the pattern of `size` bytes; nothing
// when it is missing, has another length, or mixes shifts.
std::optional<uint8_t> PatternShift(const std::wstring& path, uint64_t size);

// True when the file is exactly the pattern of `size` bytes raised by `shift`.
inline bool HoldsPattern(const std::wstring& path, uint64_t size, uint8_t shift) {
  return PatternShift(path, size) == shift;
}

}  // namespace faults
