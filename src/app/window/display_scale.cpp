#include "app/window/display_scale.h"

#include <cstdlib>

namespace tessafold {

namespace {

// value * numerator / denominator, to the nearest whole number, halves away from zero.
int32_t MulDivRounded(int64_t value, int64_t numerator, int64_t denominator) {
  const int64_t product = value * numerator;
  const int64_t half = denominator / 2;
  return static_cast<int32_t>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

}  // namespace

int32_t ScaleLength(int32_t length, int dpi) { return MulDivRounded(length, dpi, kLayoutDpi); }

LayoutRect ScaleRect(const LayoutRect& rect, int dpi) {
  const int32_t left = ScaleLength(rect.left, dpi);
  const int32_t top = ScaleLength(rect.top, dpi);
  return {left, top, ScaleLength(rect.left + rect.width, dpi) - left, ScaleLength(rect.top + rect.height, dpi) - top};
}

int PointSizeOfHeight(int32_t height, int dpi) { return MulDivRounded(std::abs(height), 72, dpi); }

int32_t FontHeightForPoints(int points, int dpi) { return -MulDivRounded(points, dpi, 72); }

}  // namespace tessafold
