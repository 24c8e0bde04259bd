#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/files/byte_buffer.h"
#include "app/files/file_primitives.h"

namespace tessafold {

// What the Windows and the POSIX implementations of the file primitives share.

// A path the platform can be handed: not empty, and without a zero byte that
// would silently cut it short.
inline bool IsUsablePath(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

// One read or write request of a whole file of hundreds of MiB can fail on
// 32-bit Windows for lack of kernel resources, so large transfers are cut.
inline constexpr size_t kIoPieceBytes = size_t{8} << 20;

// Moves `total` bytes starting at `data` in requests of at most kIoPieceBytes.
// `request(data, count)` returns the bytes it moved, 0 at the end of the
// data, or a negative value on failure. The result is the bytes moved, or -1.
template <typename Byte, typename Request>
int64_t MoveInPieces(Byte* data, size_t total, Request&& request, size_t largest = kIoPieceBytes) {
  size_t done = 0;
  while (done < total) {
    const int64_t moved = request(data + done, std::min(total - done, largest));
    if (moved < 0) return -1;
    if (moved == 0) break;
    done += static_cast<size_t>(moved);
  }
  return static_cast<int64_t>(done);
}

// Writes the whole buffer through `request` (as for MoveInPieces); false
// unless every byte was stored.
template <typename Request>
bool WriteAllInPieces(const ByteBuffer& buffer, Request&& request) {
  const size_t total = static_cast<size_t>(buffer.Length());
  return MoveInPieces(buffer.Data(), total, request) == static_cast<int64_t>(total);
}

// A request (as for MoveInPieces) turned into one that moves all of `count`
// bytes or fails.
template <typename Request>
auto Whole(Request request, size_t largest = kIoPieceBytes) {
  return [request, largest](auto* data, size_t count) mutable {
    return MoveInPieces(data, count, request, largest) == static_cast<int64_t>(count);
  };
}

inline void Report(ReadOutcome* outcome, ReadOutcome value) {
  if (outcome) *outcome = value;
}

// The content of an open file whose size was taken as `size`: a file of
// 2 GiB or more, or one that delivers nothing or fails, is Unreadable; a file
// that shrank after the size was taken yields the bytes it delivered.
template <typename Request>
ByteBuffer ReadSizedContent(int64_t size, Request&& request, ReadOutcome* outcome) {
  if (size < 0 || size > ByteBuffer::kMaxLength) {
    Report(outcome, ReadOutcome::Unreadable);
    return {};
  }
  if (size == 0) {
    Report(outcome, ReadOutcome::Empty);
    return {};
  }
  ByteBuffer buffer = ByteBuffer::Allocate(static_cast<int32_t>(size));
  const int64_t delivered = MoveInPieces(buffer.Data(), static_cast<size_t>(size), request);
  if (delivered <= 0) {
    Report(outcome, ReadOutcome::Unreadable);
    return {};
  }
  buffer.Truncate(static_cast<int32_t>(delivered));
  Report(outcome, ReadOutcome::Read);
  return buffer;
}

}  // namespace tessafold
