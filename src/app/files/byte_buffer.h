#pragma once
#include <cstdint>
#include <memory>

namespace tessafold {

// The whole content of a file as one owned block of at most 2^31 - 1 bytes.
// A buffer of length 0 holds no memory and stands for "no buffer".
class ByteBuffer {
 public:
  static constexpr int32_t kMaxLength = INT32_MAX;

  ByteBuffer() = default;
  ByteBuffer(ByteBuffer&&) noexcept = default;
  ByteBuffer& operator=(ByteBuffer&&) noexcept = default;

  // A buffer of the given length (contents unspecified). When the memory
  // cannot be had this ends in the fatal "分配 %d 字节内存失败!" box, with
  // %d = length + 8 (the block with its two header fields).
  static ByteBuffer Allocate(int32_t length);

  int32_t Length() const { return length_; }
  bool Empty() const { return length_ == 0; }
  uint8_t* Data() { return bytes_.get(); }
  const uint8_t* Data() const { return bytes_.get(); }

  // 1-based checked access: an index below 1 is fatal with code 4, above the
  // length with code 1.
  uint8_t At(int32_t index) const;
  void Set(int32_t index, uint8_t value);

  // Keeps only the first newLength bytes (0 releases the block).
  void Truncate(int32_t newLength);

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  int32_t length_ = 0;
};

// The length of a buffer; 0 for no buffer.
int32_t ByteCount(const ByteBuffer& buffer);

}  // namespace tessafold
