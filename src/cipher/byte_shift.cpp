#include "cipher/byte_shift.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tessafold {

uint8_t EffectiveShift(int32_t key, int32_t repeat, ShiftDirection direction) {
  if (repeat == 0) repeat = 1;
  if (repeat < 0) return 0;
  // r passes of k equal one pass of k * r; only the low 8 bits of each matter.
  const uint32_t shift = (static_cast<uint32_t>(key) & 0xFFu) * (static_cast<uint32_t>(repeat) & 0xFFu);
  const uint8_t add = static_cast<uint8_t>(shift);
  return direction == ShiftDirection::Add ? add : static_cast<uint8_t>(0u - add);
}

namespace {

void ShiftEach(uint8_t* bytes, size_t count, uint8_t shift) {
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(bytes[i] + shift);
}

}  // namespace

#ifdef __SSE2__

// GCC does not vectorise the plain loop at -O2, and a byte at a time is five
// times slower than copying the buffer; 16 bytes per step make the pass
// memory-bound.
void ShiftBytes(uint8_t* bytes, size_t count, uint8_t shift) {
  if (shift == 0) return;
  const size_t head = (16 - reinterpret_cast<uintptr_t>(bytes) % 16) % 16;
  if (count <= head) {
    ShiftEach(bytes, count, shift);
    return;
  }
  ShiftEach(bytes, head, shift);
  bytes += head;
  count -= head;

  const __m128i add = _mm_set1_epi8(static_cast<char>(shift));
  auto* block = reinterpret_cast<__m128i*>(bytes);
  const size_t blocks = count / 16;
  size_t i = 0;
  for (; i + 4 <= blocks; i += 4) {
    const __m128i a = _mm_add_epi8(_mm_load_si128(block + i), add);
    const __m128i b = _mm_add_epi8(_mm_load_si128(block + i + 1), add);
    const __m128i c = _mm_add_epi8(_mm_load_si128(block + i + 2), add);
    const __m128i d = _mm_add_epi8(_mm_load_si128(block + i + 3), add);
    _mm_store_si128(block + i, a);
    _mm_store_si128(block + i + 1, b);
    _mm_store_si128(block + i + 2, c);
    _mm_store_si128(block + i + 3, d);
  }
  for (; i < blocks; ++i) _mm_store_si128(block + i, _mm_add_epi8(_mm_load_si128(block + i), add));
  ShiftEach(bytes + blocks * 16, count % 16, shift);
}

#else

void ShiftBytes(uint8_t* bytes, size_t count, uint8_t shift) {
  if (shift != 0) ShiftEach(bytes, count, shift);
}

#endif

}  // namespace tessafold
