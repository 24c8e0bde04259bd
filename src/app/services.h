#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace tessafold {

// Message boxes, worker threads, the web link and control access. Texts are
// UTF-8. Every function may be called from any thread unless it says otherwise.

inline constexpr std::string_view kDefaultMessageTitle = "信息：";

// Result codes of ShowMessage: the button the user pressed.
enum MessageResult : int {
  kMessageOk = 0, kMessageCancel = 1, kMessageAbort = 2, kMessageRetry = 3,
  kMessageIgnore = 4, kMessageYes = 5, kMessageNo = 6,
};

// A modal box owned by no window, task-modal for the calling thread. `buttons`
// are the platform's message-box style bits (0: one OK button, no icon); an
// empty title means "信息：".
int ShowMessage(std::string_view text, uint32_t buttons = 0, std::string_view title = {});

// Starts a detached thread that runs routine(parameter). True when it started.
using WorkerRoutine = void (*)(void* parameter);
bool StartWorker(WorkerRoutine routine, void* parameter = nullptr);

// Hands the address, unchanged, to the shell's "open" action. Failures are silent.
void OpenWebPage(std::string_view address);

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

// Convenience forms of the two above for the common cases.
std::string GetControlText(int windowId, int controlId, ControlProperty property = kPropertyEditText);
void SetControlDisabled(int windowId, int controlId, bool disabled);

}  // namespace tessafold
