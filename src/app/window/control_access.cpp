#include "app/window/control_access.h"

namespace tessafold {

std::string ControlValueText(const ControlValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return std::to_string(std::get<int32_t>(value));
}

std::string GetControlText(int windowId, int controlId, ControlProperty property) {
  return ControlValueText(GetControlProperty(windowId, controlId, property));
}

void SetControlDisabled(int windowId, int controlId, bool disabled) {
  SetControlProperty(windowId, controlId, kPropertyDisabled, int32_t{disabled ? 1 : 0});
}

}  // namespace tessafold
