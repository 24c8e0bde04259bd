#pragma once
#include <cstdint>
#include <string>

#include "cipher/byte_shift.h"

namespace tessafold {

// Replaces the file at `path` by its bytes shifted `repeat` times by `key`.
// True when the transformed content is in place. A missing file, one that
// cannot be read or replaced, or a close of the program before the new content
// is complete gives false and leaves the path exactly as it was. Its progress
// counts towards the running jobs' progress.
bool TransformFile(const std::string& path, int32_t key, int32_t repeat, ShiftDirection direction);

}  // namespace tessafold
