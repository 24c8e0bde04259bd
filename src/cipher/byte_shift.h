#pragma once
#include <cstddef>
#include <cstdint>

namespace tessafold {

enum class ShiftDirection { Add, Subtract };

// The single shift that equals `repeat` passes of `key` in `direction`, as a
// value to add modulo 256. A repeat count of 0 counts as 1; a negative one
// makes no pass at all (shift 0).
uint8_t EffectiveShift(int32_t key, int32_t repeat, ShiftDirection direction);

// Adds `shift` modulo 256 to every byte, in place.
void ShiftBytes(uint8_t* bytes, size_t count, uint8_t shift);

}  // namespace tessafold
