#include "app/window/icon_picker.h"

namespace tessafold {

size_t PickIconEntry(std::span<const IconDirectoryEntry> entries, int width) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].colorCount >= 16 && entries[i].width == width) return i;
  }
  return entries.empty() ? 0 : entries.size() - 1;
}

}  // namespace tessafold
