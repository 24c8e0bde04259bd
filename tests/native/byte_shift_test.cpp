#include "cipher/byte_shift.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/shift_reference.h"

namespace tessafold {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes EveryValue() {
  Bytes bytes(256);
  for (int i = 0; i < 256; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  return bytes;
}

Bytes OnePass(Bytes bytes, int32_t key, int32_t repeat, ShiftDirection direction) {
  ShiftBytes(bytes.data(), bytes.size(), EffectiveShift(key, repeat, direction));
  return bytes;
}

// The single pass must give exactly the bytes of r literal passes, for every
// byte value, including counts that wrap and keys beyond one byte.
TEST(ByteShift, OnePassEqualsTheLiteralPasses) {
  const int32_t keys[] = {0, 1, 2, 5, 127, 128, 255, 256, 300, -1, -5, -300, -512, INT32_MAX, INT32_MIN};
  std::vector<int32_t> repeats = {INT32_MIN, -256, -1, INT32_MAX, INT32_MAX - 1, 1 << 20};
  for (int32_t r = 0; r <= 600; ++r) repeats.push_back(r);
  const Bytes values = EveryValue();
  for (int32_t key : keys) {
    for (int32_t repeat : repeats) {
      for (ShiftDirection direction : {ShiftDirection::Add, ShiftDirection::Subtract}) {
        ASSERT_EQ(OnePass(values, key, repeat, direction), testing::ReferencePasses(values, key, repeat, direction))
            << "key " << key << ", repeat " << repeat << ", " << (direction == ShiftDirection::Add ? "Add" : "Subtract");
      }
    }
  }
}

// The vector loop works on aligned blocks with a byte loop before and after:
// every start offset and length must shift exactly the bytes asked for.
TEST(ByteShift, ShiftsExactlyTheGivenRangeAtAnyAlignment) {
  for (size_t offset = 0; offset < 32; ++offset) {
    for (size_t count = 0; count < 200; ++count) {
      Bytes bytes(offset + count + 32, 0x40);
      ShiftBytes(bytes.data() + offset, count, 0xC1);
      for (size_t i = 0; i < bytes.size(); ++i) {
        const bool inside = i >= offset && i < offset + count;
        ASSERT_EQ(bytes[i], inside ? 0x01 : 0x40) << "offset " << offset << ", count " << count << ", byte " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tessafold
