#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessafold {

// One image of an icon resource as its directory describes it.
struct IconDirectoryEntry {
  int width;       // 0 in the directory stands for 256
  int colorCount;  // as stated: 0 for 256 colours and more
  int bitCount;
};

// The image a window icon of the given width is made from: the first entry
// stating at least 16 colours with exactly that width, else the last entry.
// An empty directory gives 0.
size_t PickIconEntry(std::span<const IconDirectoryEntry> entries, int width);

}  // namespace tessafold
