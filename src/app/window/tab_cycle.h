#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/window/window_layout.h"

namespace tessafold {

// What Tab navigation needs to know of one control, listed in creation order.
struct TabStop {
  int32_t focusOrder;
  bool eligible;  // visible, enabled and a tab stop right now
};

// A control's Tab stop as it is now: eligible when its layout makes it a tab
// stop and it is shown and enabled.
TabStop TabStopOf(const ControlRecord& record, bool shown, bool enabled);

// The control Tab (or Shift+Tab when backwards) moves the focus to from
// `current`: the next eligible one by focus order, ties in creation order,
// wrapping around. With no current control, the first (or last) eligible one.
// Nothing when no control is eligible.
std::optional<size_t> NextTabStop(std::span<const TabStop> stops, std::optional<size_t> current,
                                  bool backwards);

}  // namespace tessafold
