#pragma once
// Light or dark, as the system's setting for apps says, and the colours each
// draws with. The light scheme is the layout's own colours; the dark one
// keeps their roles (surface, field, text) with dark surfaces and light text.
#include <cstdint>

#include "app/window/window_layout.h"

namespace tessafold {

enum class ColorScheme { Light, Dark };

inline constexpr uint32_t kDarkSurface = 0x202020;       // the window, labels, the usage box
inline constexpr uint32_t kDarkField = 0x2D2D2D;         // the edit fields
inline constexpr uint32_t kDarkText = 0xF0F0F0;
inline constexpr uint32_t kDarkDisabledText = 0x9A9A9A;  // still readable on a field

// The colour to draw a layout colour with in the scheme: in the dark scheme
// the button face becomes the dark surface, white the dark field, black the
// light text; any other colour was chosen on purpose and is kept.
LayoutColor SchemeColor(LayoutColor color, ColorScheme scheme);

}  // namespace tessafold
