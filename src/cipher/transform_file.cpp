#include "cipher/transform_file.h"

#include "app/file_primitives.h"
#include "app/shutdown_hold.h"

namespace tessafold {

bool TransformFile(const std::string& path, int32_t key, int32_t repeat, ShiftDirection direction) {
  ReadOutcome outcome = ReadOutcome::NoFile;
  ByteBuffer content = ReadWholeFile(path, &outcome);
  // A file that is not there, or that could not be read whole, is left alone:
  // writing the (empty) buffer would create it or wipe its content.
  if (outcome == ReadOutcome::NoFile || outcome == ReadOutcome::Unreadable) return false;

  ShiftBytes(content.Data(), static_cast<size_t>(content.Length()), EffectiveShift(key, repeat, direction));

  // Closing the window waits for this, so the replacement is never cut off.
  ShutdownHold hold;
  return ReplaceWholeFile(path, content);
}

}  // namespace tessafold
