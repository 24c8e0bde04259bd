#pragma once
// The arithmetic of drawing the layout at a display's scale. The layout is
// written for 96 DPI, where every value comes back unchanged.
#include <cstdint>

#include "app/window/window_layout.h"

namespace tessafold {

inline constexpr int kLayoutDpi = 96;

// length * dpi / 96, to the nearest pixel (halves away from zero).
int32_t ScaleLength(int32_t length, int dpi);

// The rectangle with its four edges scaled, so that controls which line up
// or touch at 96 DPI still do at any scale.
LayoutRect ScaleRect(const LayoutRect& rect, int dpi);

// The whole point size nearest to a font height in pixels (negative: the
// character height, as a LOGFONT states it) of a font made for `dpi`.
int PointSizeOfHeight(int32_t height, int dpi);

// The LOGFONT height (negative: the character height) of a font of that
// point size made for `dpi`, rounded as Windows rounds it.
int32_t FontHeightForPoints(int points, int dpi);

}  // namespace tessafold
