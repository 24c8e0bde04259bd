#include "app/window/icon_picker.h"

#include <cstdlib>
#include <tuple>

namespace tessafold {

size_t PickIconEntry(std::span<const IconDirectoryEntry> entries, int width) {
  // Lower is better: exact, then wider, then narrower; the nearest width; the deepest colour.
  const auto rank = [width](const IconDirectoryEntry& entry) {
    const int side = entry.width == width ? 0 : entry.width > width ? 1 : 2;
    return std::make_tuple(side, std::abs(entry.width - width), -entry.bitCount);
  };
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i) {
    if (rank(entries[i]) < rank(entries[best])) best = i;
  }
  return best;
}

}  // namespace tessafold
