#include "app/window/color_scheme.h"

namespace tessafold {

ColorScheme ChooseColorScheme(bool appsUseDark, bool highContrast) {
  if (highContrast) return ColorScheme::HighContrast;
  return appsUseDark ? ColorScheme::Dark : ColorScheme::Light;
}

DrawColors SchemeColors(LayoutColor text, LayoutColor back, ColorScheme scheme, const SystemColors& system) {
  const bool dark = scheme == ColorScheme::Dark;
  const bool onlySystem = scheme == ColorScheme::HighContrast;
  // A field is a white surface; everything else lies on the button face.
  const bool field = !back.buttonFace && back.rgb == kWhite.rgb;
  DrawColors colors{};
  if (field) {
    colors.back = dark ? kDarkField : system.window;
  } else if (back.buttonFace || onlySystem) {
    colors.back = dark ? kDarkSurface : system.buttonFace;
  } else {
    colors.back = back.rgb;
  }
  if ((!text.buttonFace && text.rgb == kBlack.rgb) || onlySystem) {
    colors.text = dark ? kDarkText : field ? system.windowText : system.buttonText;
  } else {
    colors.text = text.buttonFace ? (dark ? kDarkSurface : system.buttonFace) : text.rgb;
  }
  return colors;
}

}  // namespace tessafold
