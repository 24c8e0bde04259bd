#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace tessafold {

// Control access for the jobs and the handlers. Texts are UTF-8. Every
// function may be called from any thread.

// Control properties by number: 0-7 are common to every control, from 8 on
// they belong to the control's kind.
enum ControlProperty : int {
  kPropertyLeft = 0, kPropertyTop = 1, kPropertyWidth = 2, kPropertyHeight = 3,
  kPropertyTag = 4, kPropertyVisible = 5, kPropertyDisabled = 6, kPropertyMousePointer = 7,
  kPropertyEditText = 8,        // an edit box's text
  kPropertyDialogFileName = 10, // a file dialog's file name
};

// Numbers for numeric and boolean properties, texts for text properties.
using ControlValue = std::variant<int32_t, std::string>;

// Reads or writes a property of a control of a loaded window. From a worker
// thread, every access to an on-screen control runs on the user interface
// thread while the worker waits. A window that is not loaded, or a kind's
// property of a control without its on-screen window, is fatal.
ControlValue GetControlProperty(int windowId, int controlId, ControlProperty property);
void SetControlProperty(int windowId, int controlId, ControlProperty property, const ControlValue& value);

// Convenience forms of the two above for the common cases, on any platform.
std::string GetControlText(int windowId, int controlId, ControlProperty property = kPropertyEditText);
void SetControlDisabled(int windowId, int controlId, bool disabled);

// A value as text: a number in decimal.
std::string ControlValueText(const ControlValue& value);

}  // namespace tessafold
