#include "cipher/transform_file.h"

#include "app/files/file_primitives.h"
#include "app/window/job_progress.h"

namespace tessafold {

bool TransformFile(const std::string& path, int32_t key, int32_t repeat, ShiftDirection direction) {
  const uint8_t shift = EffectiveShift(key, repeat, direction);
  JobProgress progress;
  return RewriteFile(path, [&](std::span<uint8_t> piece, RewriteProgress at) {
    ShiftBytes(piece.data(), piece.size(), shift);
    progress.Update(at.done, at.total);
  });
}

}  // namespace tessafold
