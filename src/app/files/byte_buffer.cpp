#include "app/files/byte_buffer.h"

#include <new>

#include "app/process/fatal_error.h"

namespace tessafold {

namespace {
// The block a buffer stands for also holds a dimension count and a length.
constexpr int64_t kHeaderBytes = 8;

void CheckIndex(int32_t index, int32_t length) {
  if (static_cast<int64_t>(index) - 1 < 0) FatalRuntimeError(4, kIndexBelowOneMessage);
  if (static_cast<int64_t>(index) - 1 >= length) FatalRuntimeError(1, kIndexAboveCountMessage);
}
}  // namespace

ByteBuffer ByteBuffer::Allocate(int32_t length) {
  ByteBuffer buffer;
  if (length <= 0) return buffer;
  buffer.bytes_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(length)]);
  if (!buffer.bytes_) {
    FatalRuntimeError(0, AllocationFailedMessage(static_cast<int32_t>(length + kHeaderBytes)));
  }
  buffer.length_ = length;
  return buffer;
}

uint8_t ByteBuffer::At(int32_t index) const {
  CheckIndex(index, length_);
  return bytes_[static_cast<size_t>(index - 1)];
}

void ByteBuffer::Set(int32_t index, uint8_t value) {
  CheckIndex(index, length_);
  bytes_[static_cast<size_t>(index - 1)] = value;
}

void ByteBuffer::Truncate(int32_t newLength) {
  if (newLength >= length_) return;
  if (newLength <= 0) {
    bytes_.reset();
    length_ = 0;
    return;
  }
  length_ = newLength;
}

int32_t ByteCount(const ByteBuffer& buffer) { return buffer.Length(); }

}  // namespace tessafold
