#include "cipher/byte_shift.h"

namespace tessafold {

uint8_t EffectiveShift(int32_t key, int32_t repeat, ShiftDirection direction) {
  if (repeat == 0) repeat = 1;
  if (repeat < 0) return 0;
  // r passes of k equal one pass of k * r; only the low 8 bits of each matter.
  const uint32_t shift = (static_cast<uint32_t>(key) & 0xFFu) * (static_cast<uint32_t>(repeat) & 0xFFu);
  const uint8_t add = static_cast<uint8_t>(shift);
  return direction == ShiftDirection::Add ? add : static_cast<uint8_t>(0u - add);
}

void ShiftBytes(uint8_t* bytes, size_t count, uint8_t shift) {
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(bytes[i] + shift);
}

}  // namespace tessafold
