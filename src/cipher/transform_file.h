#pragma once
#include <cstdint>
#include <string>

#include "cipher/byte_shift.h"

namespace tessafold {

// Replaces the file at `path` by its bytes shifted `repeat` times by `key`.
// True when the transformed content is in place. A missing file, a file that
// cannot be read whole, or a failed replacement gives false and leaves the
// path exactly as it was.
bool TransformFile(const std::string& path, int32_t key, int32_t repeat, ShiftDirection direction);

}  // namespace tessafold
