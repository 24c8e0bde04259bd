#include "app/window/tab_cycle.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tessafold {

TabStop TabStopOf(const ControlRecord& record, bool shown, bool enabled) {
  return {record.focusOrder, record.tabStop && shown && enabled};
}

std::optional<size_t> NextTabStop(std::span<const TabStop> stops, std::optional<size_t> current,
                                  bool backwards) {
  const size_t count = stops.size();
  if (count == 0) return std::nullopt;
  std::vector<size_t> order(count);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return stops[a].focusOrder < stops[b].focusOrder; });

  // Start just outside the cycle when nothing has the focus, so one step
  // lands on the first (or last) control.
  size_t position = backwards ? 0 : count - 1;
  if (current && *current < count) {
    position = static_cast<size_t>(std::find(order.begin(), order.end(), *current) - order.begin());
  }
  for (size_t step = 1; step <= count; ++step) {
    const size_t at = backwards ? (position + count - step) % count : (position + step) % count;
    if (stops[order[at]].eligible) return order[at];
  }
  return std::nullopt;
}

}  // namespace tessafold
