#pragma once
// Light, dark or high contrast, and the colours each draws with. The light
// scheme is the layout's colours, taken from the system's colours where the
// layout's are the system's defaults, so a user who changed them gets them;
// high contrast draws in nothing but the system's colours; the dark one keeps
// the roles (surface, field, text) with dark surfaces and light text.
#include <cstdint>

#include "app/window/window_layout.h"

namespace tessafold {

enum class ColorScheme { Light, Dark, HighContrast };

inline constexpr uint32_t kDarkSurface = 0x202020;       // the window, labels, the usage box
inline constexpr uint32_t kDarkField = 0x2D2D2D;         // the edit fields
inline constexpr uint32_t kDarkText = 0xF0F0F0;
inline constexpr uint32_t kDarkDisabledText = 0x9A9A9A;  // still readable on a field

// The system's current colours (0x00BBGGRR) for the two surfaces and their texts.
struct SystemColors {
  uint32_t buttonFace;  // the window, the labels, the usage box
  uint32_t buttonText;
  uint32_t window;      // the edit fields
  uint32_t windowText;
};

struct DrawColors {
  uint32_t text;
  uint32_t back;
  bool operator==(const DrawColors&) const = default;
};

// A high-contrast theme overrides the user's light or dark setting for apps.
ColorScheme ChooseColorScheme(bool appsUseDark, bool highContrast);

// The colours to draw a control whose layout gives `text` on `back`. The
// button face and white are the system's surfaces, black the text of the
// surface it lies on; any other colour was chosen on purpose and is kept,
// except under high contrast, where it gives way to the system's colour.
DrawColors SchemeColors(LayoutColor text, LayoutColor back, ColorScheme scheme, const SystemColors& system);

}  // namespace tessafold
