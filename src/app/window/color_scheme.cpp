#include "app/window/color_scheme.h"

namespace tessafold {

LayoutColor SchemeColor(LayoutColor color, ColorScheme scheme) {
  if (scheme == ColorScheme::Light) return color;
  if (color.buttonFace) return {false, kDarkSurface};
  if (color.rgb == kWhite.rgb) return {false, kDarkField};
  if (color.rgb == kBlack.rgb) return {false, kDarkText};
  return color;
}

}  // namespace tessafold
