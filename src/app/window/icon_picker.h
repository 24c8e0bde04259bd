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

// The image a window icon of the given width (the size the display's scale
// asks for) is made from: one of exactly that width, else the narrowest wider
// one (shrunk, which keeps it sharp), else the widest; among images of one
// width the deepest colour, then the first. An empty directory gives 0.
size_t PickIconEntry(std::span<const IconDirectoryEntry> entries, int width);

}  // namespace tessafold
