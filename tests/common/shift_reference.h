#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "cipher/byte_shift.h"

namespace tessafold::testing {

// What r passes do to each of the 256 byte values, found by making the passes
// one by one exactly as the algorithm says: b becomes the low 8 bits of the
// exact b + key (or b - key); 0 passes count as 1, a negative count makes none.
// Counts above kLiteralPassLimit are cut to 256 + (r mod 256) passes, using
// only that 256 passes of any key add a multiple of 256.
inline constexpr int64_t kLiteralPassLimit = 1 << 16;

inline std::array<uint8_t, 256> ReferencePassTable(int32_t key, int32_t repeat, ShiftDirection direction) {
  int64_t passes = repeat == 0 ? 1 : repeat;
  if (passes > kLiteralPassLimit) passes = 256 + passes % 256;
  std::array<uint8_t, 256> table{};
  for (int value = 0; value < 256; ++value) {
    int64_t b = value;
    for (int64_t pass = 0; pass < passes; ++pass) {
      b = direction == ShiftDirection::Add ? b + key : b - key;
      b &= 0xFF;
    }
    table[static_cast<size_t>(value)] = static_cast<uint8_t>(b);
  }
  return table;
}

inline std::vector<uint8_t> ReferencePasses(std::vector<uint8_t> bytes, int32_t key, int32_t repeat,
                                            ShiftDirection direction) {
  const std::array<uint8_t, 256> table = ReferencePassTable(key, repeat, direction);
  for (uint8_t& b : bytes) b = table[b];
  return bytes;
}

}  // namespace tessafold::testing
