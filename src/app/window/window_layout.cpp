#include "app/window/window_layout.h"

namespace tessafold {

EventHandler FindBinding(std::span<const EventBinding> bindings, LayoutEvent event) {
  for (const EventBinding& binding : bindings) {
    if (binding.event == event) return binding.handler;
  }
  return nullptr;
}

const WindowRecord* FindWindowRecord(std::span<const WindowRecord> layouts, int windowId) {
  for (const WindowRecord& window : layouts) {
    if (window.id == windowId) return &window;
  }
  return nullptr;
}

const ControlRecord* FindControlRecord(const WindowRecord& window, int controlId) {
  for (const ControlRecord& control : window.controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

}  // namespace tessafold
